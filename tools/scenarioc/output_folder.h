// The folder a command that compiles writes its files into: the one -o names,
// else the line file's own, made when missing.
#pragma once

#include <filesystem>

#include "scenarioc/command_line.h"

namespace scenario {

// -o DIR, else the folder of the line file (the first file name).
std::filesystem::path output_folder(const CommandLine& line);

// Makes `folder` and those above it that are missing; throws RunTimeFailure
// when one cannot be made, and on Windows before making any when a name in
// `folder` is one the system would alter.
void make_folder(const std::filesystem::path& folder);

}  // namespace scenario
