// A compiled set as the commands of scenarioc take it in place of the two
// sources: three files named as the compile names them (NAME_linea.dat,
// NAME_NUMBER.sim, NAME_NUMBER.dat), or a folder holding one such set; read
// into memory, and turned into source texts that compile in memory.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compiler/decompile/compiled_set.h"
#include "compiler/decompile/decompile.h"
#include "compiler/source_files.h"

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

// Decompiled sources held in memory as the source files they stand for,
// NAME_linea.txt and NAME_NUMBER-.txt in `folder`: a compile reads them, and
// the diagnostics quote their lines by those names.
class DecompiledSources : public MemorySources {
 public:
  DecompiledSources(const DecompiledScenario& sources, const std::filesystem::path& folder);
  void remove(SourceFile) override {}
  std::string display_name(SourceFile which) const override;

 private:
  std::string line_name_;
  std::string train_name_;
};

}  // namespace scenario
