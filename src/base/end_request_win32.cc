// The end request on Windows: a console control handler that sets an event,
// which a loop waits on with the folder's change notifications.
#include "base/end_request.h"

#include <windows.h>

#include <atomic>

#include "base/run_time_failure.h"

namespace scenario {
namespace {

HANDLE end_event = nullptr;
std::atomic<bool> end_requested{false};

// Runs on a thread of its own. Returning FALSE lets the default handler end
// the process, as a second request does.
BOOL WINAPI note_end_request(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  if (end_requested.exchange(true)) return FALSE;
  ::SetEvent(end_event);
  return TRUE;
}

}  // namespace

EndRequest::EndRequest() {
  end_event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (end_event == nullptr) throw RunTimeFailure("cannot make an event for the end request");
  end_requested = false;
  ::SetConsoleCtrlHandler(note_end_request, TRUE);
}

EndRequest::~EndRequest() {
  ::SetConsoleCtrlHandler(note_end_request, FALSE);
  ::CloseHandle(end_event);
  end_event = nullptr;
}

bool EndRequest::requested() const { return end_requested; }

intptr_t EndRequest::wait_handle() const { return reinterpret_cast<intptr_t>(end_event); }

}  // namespace scenario
