#include "scenarioc/decompile/decompile_command.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "compiler/decompile/decompile.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/commands.h"
#include "scenarioc/decompile/compiled_set_files.h"
#include "scenarioc/output_folder.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

fs::path output_folder(const CommandLine& line, const CompiledSetPaths& paths) {
  if (line.out_dir) return path_from_utf8(*line.out_dir);
  const fs::path folder = paths.station_table.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

void print_warnings(const DecompiledScenario& d, std::ostream& err) {
  for (const DecompileWarning& w : d.warnings) {
    err << "scenarioc decompile: warning: " << w.message << '\n';
    for (const std::string& detail : w.details) err << "  " << detail << '\n';
  }
}

// Both sources or neither: staged together and renamed at the end.
void write_sources(const fs::path& folder, const std::string& line_name,
                   const std::string& train_name, const DecompiledScenario& d) {
  make_folder(folder);
  FileSet files(folder);
  files.stage(line_name, [&](const BlockSink& put) { put(d.line); });
  files.stage(train_name, [&](const BlockSink& put) { put(d.train); });
  files.commit();
}

}  // namespace

int run_decompile(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  if (line.files.size() == 2) {
    throw UsageFailure("decompile takes " + std::string(line.command->operands) + ", " +
                       std::to_string(line.files.size()) + " given");
  }
  std::string error;
  const std::optional<CompiledSetPaths> paths = compiled_set_paths(line.files, error);
  if (!paths) throw UsageFailure(error);
  const DecompiledScenario d = decompile(read_compiled_set(*paths).set());
  const Identifiers ids = decompiled_identifiers(line, d);
  const fs::path folder = output_folder(line, *paths);
  const std::string line_name = line_source_name(ids.nome);
  const std::string train_name = train_source_name(ids.nome, ids.treno);
  for (const std::string& name : {line_name, train_name}) {
    std::error_code ec;
    if (fs::symlink_status(file_in(folder, name), ec).type() != fs::file_type::not_found) {
      err << "scenarioc decompile: '" << utf8_of_path(file_in(folder, name))
          << "' already exists; decompile does not overwrite sources (write them elsewhere "
             "with -o DIR); nothing was written\n";
      return kExitFailure;
    }
  }
  write_sources(folder, line_name, train_name, d);
  print_warnings(d, err);
  for (const std::string& name : {line_name, train_name}) {
    out << "wrote " << utf8_of_path(file_in(folder, name)) << '\n';
  }
  return d.identical && d.warnings.empty() ? kExitOk : kExitRecorded;
}

}  // namespace scenario
