#include "scenarioc/decompile/decompile_command.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "compiler/decompile/decompile.h"
#include "scenarioc/decompile/compiled_set_files.h"
#include "scenarioc/scenario_inputs.h"
#include "scenarioc/source_names.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr int kWarned = 1;
constexpr int kFailure = 2;

int usage_failure(std::ostream& err, const std::string& error) {
  err << "scenarioc decompile: " << error << '\n' << usage_hint(Command::decompile);
  return kFailure;
}

// Why the names of the written sources cannot name files; empty when they can.
std::string identifiers_error(const std::string& nome, const std::string& treno,
                              const CommandLine& line) {
  std::string why = unusable_identifier("the scenario name", nome);
  if (!why.empty()) {
    return line.name ? why : why + " (the station table's own; give another with --name NAME)";
  }
  why = unusable_identifier("the train number", treno);
  if (!why.empty()) {
    return line.train ? why : why + " (the station table's own; give another with --train NUMBER)";
  }
  return "";
}

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
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw RunTimeFailure("cannot create folder '" + folder.string() + "': " + ec.message());
  FileSet files(folder);
  files.stage(line_name, [&](const BlockSink& put) { put(d.line); });
  files.stage(train_name, [&](const BlockSink& put) { put(d.train); });
  files.commit();
}

}  // namespace

int run_decompile(const CommandLine& line, std::ostream& out, std::ostream& err) {
  if (line.files.size() == 2) {
    return usage_failure(err,
                         "decompile takes the three files of a compiled set or a folder "
                         "holding one, 2 files given");
  }
  std::string error;
  const std::optional<CompiledSetPaths> paths = compiled_set_paths(line.files, error);
  if (!paths) return usage_failure(err, error);
  try {
    const CompiledSetBytes bytes = read_compiled_set(*paths);
    const DecompiledScenario d = decompile(bytes.set());
    const std::string nome = line.name.value_or(d.nome);
    const std::string treno = line.train.value_or(d.treno);
    const std::string why = identifiers_error(nome, treno, line);
    if (!why.empty()) {
      err << "scenarioc decompile: " << why << "; nothing was written\n";
      return kFailure;
    }
    const fs::path folder = output_folder(line, *paths);
    const std::string line_name = line_source_name(nome);
    const std::string train_name = train_source_name(nome, treno);
    for (const std::string& name : {line_name, train_name}) {
      std::error_code ec;
      if (fs::symlink_status(file_in(folder, name), ec).type() != fs::file_type::not_found) {
        err << "scenarioc decompile: '" << utf8_of_path(file_in(folder, name))
            << "' already exists; decompile does not overwrite sources (write them elsewhere "
               "with -o DIR); nothing was written\n";
        return kFailure;
      }
    }
    write_sources(folder, line_name, train_name, d);
    print_warnings(d, err);
    for (const std::string& name : {line_name, train_name}) {
      out << "wrote " << utf8_of_path(file_in(folder, name)) << '\n';
    }
    return d.identical && d.warnings.empty() ? 0 : kWarned;
  } catch (const RunTimeFailure& failure) {
    err << "scenarioc decompile: " << failure.what() << "; nothing was written\n";
    return kFailure;
  }
}

}  // namespace scenario
