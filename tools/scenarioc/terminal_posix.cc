#include "scenarioc/terminal.h"

#include <unistd.h>

namespace scenario {

bool is_colour_terminal(StandardStream stream) {
  return isatty(stream == StandardStream::out ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

}  // namespace scenario
