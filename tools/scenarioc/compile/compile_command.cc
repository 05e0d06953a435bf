#include "scenarioc/compile/compile_command.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/file_naming.h"
#include "base/folder_lock.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "base/temporary_files.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/output/source_excerpt.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

fs::path output_folder(const CommandLine& line) {
  if (line.out_dir) return path_from_utf8(*line.out_dir);
  const fs::path parent = path_from_utf8(line.files[0]).parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

void make_folder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw RunTimeFailure("cannot create folder '" + folder.string() + "': " + ec.message());
}

// The sources are never written over: a compiled file may not take a source's place.
std::string overwrites_source(const fs::path& folder, const ScenarioFiles& ids,
                              const CommandLine& line) {
  for (const std::string& name :
       {track_plan_name(ids.nome), station_table_name(ids.nome, ids.treno),
        route_cells_name(ids.nome, ids.treno)}) {
    for (const std::string& source : line.files) {
      if (same_file(file_in(folder, name), path_from_utf8(source))) {
        return "the compiled file '" + file_in(folder, name).string() +
               "' would replace the source '" + source + "'";
      }
    }
  }
  return "";
}

Presentation presentation_of(const CommandLine& line) {
  return {line.warnings, colour_wanted_for(line.colour, StandardStream::err)};
}

// The renames take the folder's lock, which the build and every compile into
// the folder share: two compiles into one folder leave the three files of one
// of them, never a mix. Temporary files that an ended process left there go.
class LockingFolderSink : public FolderSink {
 public:
  LockingFolderSink(const fs::path& folder, std::ostream& err)
      : FolderSink(folder), folder_(folder), err_(err) {}
  void commit() override {
    const FolderLock lock(folder_, [&] {
      err_ << "scenarioc: waiting for another build in " << printable_path(folder_) << '\n'
           << std::flush;
    });
    remove_stale_temporaries(folder_);
    FolderSink::commit();
  }

 private:
  fs::path folder_;
  std::ostream& err_;
};

int compile_into(const CommandLine& line, const fs::path& folder, AuthorCompile& compiled,
                 std::ostream& out, std::ostream& err) {
  LockingFolderSink sink(folder, err);
  compiled.compile(sink);
  const CompileOutcome outcome = compiled.outcome(folder);
  if (line.json) {
    report_compile_json(outcome, line.warnings, out);
  } else {
    report_compile_text(outcome, compiled.lines(), presentation_of(line), out, err);
  }
  return compile_exit_status(outcome, line.warnings);
}

}  // namespace

int run_compile(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<ScenarioFiles> scenario = scenario_files_of(line, error);
  if (!scenario) throw UsageFailure(error);
  std::optional<AuthorCompile> compiled;
  return compile_scenario(line, *scenario, compiled, out, err);
}

int compile_scenario(const CommandLine& line, const ScenarioFiles& scenario,
                     std::optional<AuthorCompile>& compiled, std::ostream& out, std::ostream& err) {
  const fs::path folder = output_folder(line);
  try {
    compiled.emplace(scenario);
    make_folder(folder);
    const std::string error = overwrites_source(folder, scenario, line);
    if (!error.empty()) throw UsageFailure(error);
    return compile_into(line, folder, *compiled, out, err);
  } catch (const RunTimeFailure&) {
    // When a compiled file could not be written, what was recorded still helps.
    if (!line.json && compiled) {
      err << diagnostics_text(compiled->outcome(folder), compiled->lines(), presentation_of(line));
    }
    throw;
  }
}

}  // namespace scenario
