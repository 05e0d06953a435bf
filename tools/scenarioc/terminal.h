// Whether the tool's standard output or error is a terminal that shows colour
// (terminal_posix.cc, terminal_win32.cc).
#pragma once

namespace scenario {

enum class StandardStream { out, err };

// On Linux: a terminal. On Windows: a console that takes the escape sequences
// of colour, which this call turns on where the console can show them.
bool is_colour_terminal(StandardStream stream);

}  // namespace scenario
