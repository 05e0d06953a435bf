// The folder that holds the running executable, where every file of a build
// lives (program_folder.cc; the system's own call in program_folder_posix.cc
// and program_folder_win32.cc).
#pragma once

#include <filesystem>
#include <string>

namespace scenario {

// Throws RunTimeFailure when the folder cannot be found.
std::filesystem::path program_folder();
// The same without throwing: empty, with the reason in `reason`, when it cannot
// be found.
std::filesystem::path program_folder(std::string& reason);

}  // namespace scenario
