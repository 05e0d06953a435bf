// The two source files a command of scenarioc reads: the scenario name and the
// train number they stand for, and the check that both can be read.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "compiler/source_files.h"
#include "scenarioc/command_line.h"

namespace scenario {

struct Identifiers {
  std::string nome;
  std::string treno;
};

// An author's scenario: a line file with one of its train files, and the
// identifiers they stand for.
struct ScenarioFiles {
  std::filesystem::path line_file;
  std::filesystem::path train_file;
  std::string nome;   // from the line file's name, or the train file's
  std::string treno;  // from the train file's name; empty without one
};

// `nome` and `treno` from the flags, else from the file names; none, with
// `error` saying why, when one cannot be told or cannot name files.
std::optional<Identifiers> identifiers_of(const CommandLine& line, std::string& error);

// The scenario of the command line's LINE_FILE TRAIN_FILE, named as
// `identifiers_of` names it; none, with `error` saying why.
std::optional<ScenarioFiles> scenario_files_of(const CommandLine& line, std::string& error);

// The same for a command that needs exactly those two files; throws
// UsageFailure saying why when the command line does not give them.
ScenarioFiles given_scenario_files(const CommandLine& line);

// Opens both sources once, for the compile to read: a source that is no
// regular file (a folder, a FIFO, a device) or cannot be read is refused
// before anything is written. A missing line file is the compiler's own error
// 101; a train file that cannot be read would only fail inside the parse,
// after the line had been compiled. Throws RunTimeFailure naming the file and
// the system's reason.
void check_sources(AuthorSources& sources);

// A path as UTF-8 text, the encoding of every name the tool prints (on Linux
// the file system's bytes as they are).
std::string utf8_of_path(const std::filesystem::path& path);

// A path as the tool prints it: UTF-8, control characters escaped.
std::string printable_path(const std::filesystem::path& path);

// Whether two paths name the same existing file.
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace scenario
