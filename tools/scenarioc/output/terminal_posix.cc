#include "scenarioc/output/terminal.h"

#include <unistd.h>

namespace scenario {

bool is_colour_terminal(StandardStream stream) {
  return isatty(stream == StandardStream::out ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

bool is_terminal(StandardStream stream) { return is_colour_terminal(stream); }

void use_binary_standard_streams() {}

}  // namespace scenario
