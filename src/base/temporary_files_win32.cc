// Temporary files on Windows: there is no signal to handle, and a process
// left behind is one that OpenProcess no longer finds.
#include <windows.h>

#include <string>

#include "base/temporary_files.h"
#include "base/wide_text.h"

namespace scenario {
namespace {

bool process_is_gone(ProcessId pid) {
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process != nullptr) {
    // A process that has ended but is still held open by another is gone too.
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
  }
  return ::GetLastError() == ERROR_INVALID_PARAMETER;
}

}  // namespace

ProcessId current_process() { return ::GetCurrentProcessId(); }

void install_signal_handling() {}

void end_by_signal(int) {}

RegisteredTemporary::RegisteredTemporary(int, const std::string&) {}

void RegisteredTemporary::release() {}

void remove_stale_temporaries(const std::filesystem::path& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW(long_path_form(folder / L".~*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  const ProcessId self = current_process();
  do {
    const std::optional<ProcessId> owner = temporary_name_owner(utf8_of(found.cFileName));
    if (!owner || *owner == self || !process_is_gone(*owner)) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    ::DeleteFileW(long_path_form(folder / found.cFileName).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

}  // namespace scenario
