// The end request on Linux: a signal handler that notes the signal and writes
// to a pipe (the self-pipe), which a loop waits on with poll().
#include "base/end_request.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

#include "base/run_time_failure.h"
#include "base/temporary_files.h"

namespace scenario {
namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// What the handler reads and writes; a signal handler can reach nothing else.
volatile sig_atomic_t end_signal = 0;
int pipe_ends[2] = {-1, -1};
struct sigaction previous[3];

extern "C" void note_end_request(int signal_number) {
  if (end_signal != 0) end_by_signal(signal_number);
  end_signal = signal_number;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(pipe_ends[1], &byte, 1);
}

}  // namespace

EndRequest::EndRequest() {
  if (::pipe(pipe_ends) != 0) throw RunTimeFailure("cannot make a pipe for the end request");
  for (int end : pipe_ends) {
    ::fcntl(end, F_SETFD, FD_CLOEXEC);
    ::fcntl(end, F_SETFL, O_NONBLOCK);
  }
  end_signal = 0;
  for (int i = 0; i < 3; ++i) {
    // A signal ignored from the start (nohup, a background job) stays ignored.
    if (::sigaction(kEndingSignals[i], nullptr, &previous[i]) != 0 ||
        previous[i].sa_handler == SIG_IGN) {
      continue;
    }
    struct sigaction action = {};
    action.sa_handler = note_end_request;
    sigfillset(&action.sa_mask);
    ::sigaction(kEndingSignals[i], &action, nullptr);
  }
}

EndRequest::~EndRequest() {
  for (int i = 0; i < 3; ++i) ::sigaction(kEndingSignals[i], &previous[i], nullptr);
  for (int& end : pipe_ends) {
    ::close(end);
    end = -1;
  }
}

bool EndRequest::requested() const { return end_signal != 0; }

intptr_t EndRequest::wait_handle() const { return pipe_ends[0]; }

}  // namespace scenario
