// A compiled set as the commands of scenarioc take it in place of the two
// sources: three files named as the compile names them (NAME_linea.dat,
// NAME_NUMBER.sim, NAME_NUMBER.dat), or a folder holding one such set; read
// into memory, and turned into sources that compile in memory.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compiler/compile_options.h"
#include "compiler/decompile/compiled_set.h"
#include "compiler/decompile/decompile.h"
#include "scenarioc/author_compile.h"
#include "scenarioc/command_line.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {

struct CompiledSetPaths {
  std::filesystem::path track_plan;
  std::filesystem::path station_table;
  std::filesystem::path route_cells;
};

// Whether the arguments name a compiled set: three files, or one folder.
bool names_compiled_set(const std::vector<std::string>& files);

// The paths the arguments name: the three files in the order given (each
// recognised by its name whatever the order), or the one set of a folder.
// None, with `error` saying why, when they do not name one set.
std::optional<CompiledSetPaths> compiled_set_paths(const std::vector<std::string>& files,
                                                   std::string& error);

// The three files' bytes, each read up to one byte more than the largest file
// of its kind the compiler writes, and the names messages give them. Throws
// RunTimeFailure naming the file that cannot be read.
struct CompiledSetBytes {
  std::string track_plan;
  std::string station_table;
  std::string route_cells;
  CompiledSet set() const;  // views of the bytes above

  std::string track_plan_name;
  std::string station_table_name;
  std::string route_cells_name;
};
CompiledSetBytes read_compiled_set(const CompiledSetPaths& paths);

// A compiled set in place of the two sources, as report takes it (and any
// command that reads a scenario): the set's files, the compile of its
// decompiled sources, not yet run, named as `scenarioc decompile` writes them
// beside the station table, and what those sources do not give back.
struct CompiledSetScenario {
  CompiledSetPaths paths;
  ScenarioFiles scenario;
  std::vector<DecompileWarning> warnings;
  std::unique_ptr<AuthorCompile> compiled;
};

// The set that the command line's files name, read and decompiled, under
// --name and --train or the names its station table holds. Throws
// UsageFailure when the files name no one set or the names cannot name
// files, RunTimeFailure when a file cannot be read or the set is one that no
// compile writes.
CompiledSetScenario compiled_set_scenario(const CommandLine& line, CompileOptions options = {});

// The names of the sources decompiled from a set: --name and --train, else the
// station table's own. Throws UsageFailure when they cannot name files.
Identifiers decompiled_identifiers(const CommandLine& line, const DecompiledScenario& sources);

}  // namespace scenario
