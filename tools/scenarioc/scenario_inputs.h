// The two source files a command of scenarioc reads: the scenario name and the
// train number they stand for, and the check that both can be read.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "scenarioc/command_line.h"

namespace scenario {

struct Identifiers {
  std::string nome;
  std::string treno;
};

// `nome` and `treno` from the flags, else from the file names; none, with
// `error` saying why, when one cannot be told or cannot name files.
std::optional<Identifiers> identifiers_of(const CommandLine& line, std::string& error);

// A missing line file is the compiler's own error 101. A train file that cannot
// be read would only fail inside the parse, after the line had been compiled,
// so it is refused before anything is written. Throws RunTimeFailure naming the
// file and the system's reason.
void check_sources(const std::filesystem::path& line_file, const std::filesystem::path& train_file);

// Whether two paths name the same existing file.
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace scenario
