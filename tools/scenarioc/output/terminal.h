// The tool's standard streams: whether they reach a terminal, one that shows
// colour, and binary mode (terminal_posix.cc, terminal_win32.cc).
#pragma once

namespace scenario {

enum class StandardStream { out, err };

// On Linux: a terminal. On Windows: a console that takes the escape sequences
// of colour, which this call turns on where the console can show them.
bool is_colour_terminal(StandardStream stream);

// Whether the standard output is a terminal (on Windows a console).
bool is_terminal(StandardStream stream);

// Standard input and output pass bytes as they are: on Windows they are set
// to binary mode, which keeps a line end from becoming CR LF; on Linux they are.
void use_binary_standard_streams();

}  // namespace scenario
