// The whole of scenarioc behind the platform's entry point (main_posix.cc,
// main_win32.cc), which hands it the command line as UTF-8.
#pragma once

#include <string>
#include <vector>

namespace scenario {

// Runs the command line `args`, the program's name left out, and returns the
// exit status. Paths in `args` are UTF-8.
int scenarioc_main(const std::vector<std::string>& args);

}  // namespace scenario
