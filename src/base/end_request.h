// A request to end the program (Ctrl-C, SIGTERM) turned into an event that a
// waiting loop sees, for a program that ends at a point of its own choosing
// (end_request_posix.cc, end_request_win32.cc).
#pragma once

#include <cstdint>

namespace scenario {

// While it lives, SIGINT, SIGTERM and SIGHUP (on Windows Ctrl-C, Ctrl-Break
// and closing the console) no longer end the process at once: the first is
// noted and wakes whoever waits on `wait_handle`; a second ends the process as
// it would have, removing its temporary files first. One at a time.
class EndRequest {
 public:
  EndRequest();
  ~EndRequest();
  EndRequest(const EndRequest&) = delete;
  EndRequest& operator=(const EndRequest&) = delete;

  bool requested() const;
  // Linux: a descriptor that turns readable once an end is requested.
  // Windows: an event handle that is then set.
  intptr_t wait_handle() const;
};

}  // namespace scenario
