// The standard input read with POSIX calls.
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "scenarioc/lsp/standard_input.h"

namespace scenario::lsp {

size_t read_standard_input(char* buffer, size_t capacity) {
  while (true) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, capacity);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) return 0;
  }
}

bool standard_input_ready() {
  pollfd fd{STDIN_FILENO, POLLIN, 0};
  while (true) {
    const int ready = ::poll(&fd, 1, 0);
    if (ready >= 0) return ready > 0 && (fd.revents & (POLLIN | POLLHUP)) != 0;
    if (errno != EINTR) return false;
  }
}

}  // namespace scenario::lsp
