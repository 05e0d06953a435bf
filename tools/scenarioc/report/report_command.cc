#include "scenarioc/report/report_command.h"

#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "compiler/diagnostics/diagnostics.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/commands.h"
#include "scenarioc/decompile/compiled_set_files.h"
#include "scenarioc/folder_access.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/output_folder.h"
#include "scenarioc/report/report_documents.h"
#include "scenarioc/report/report_model.h"
#include "scenarioc/report/report_page.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// The page named by -o, else the scenario's page beside its line file.
fs::path report_path(const CommandLine& line, const ScenarioFiles& ids) {
  if (line.out_file) return path_from_utf8(*line.out_file);
  const fs::path parent = ids.line_file.parent_path();
  return file_in(parent.empty() ? fs::path(".") : parent, report_page_name(ids.nome, ids.treno));
}

void make_parent_folder(const fs::path& file) {
  const fs::path folder = file.parent_path();
  if (folder.empty()) return;
  make_folder(folder);
}

// The errors and warnings as `scenarioc compile` prints them.
void report_diagnostics(AuthorCompile& compiled, std::ostream& err) {
  Presentation presentation;
  presentation.colour = colour_wanted_for(ColourMode::automatic, StandardStream::err);
  err << diagnostics_text(compiled.outcome(), compiled.lines(), presentation);
  const Compilation& c = compiled.compilation();
  if (c.result.cell_row_missing) {
    err << "scenarioc: the compile left no cell row: " << cell_row_missing_reason(c) << '\n';
  }
}

std::string counted(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Where the compile stopped at an error, a compile that reads on past it as
// `scenarioc check` does; none when there is nothing past a stop to find, the
// sources are not files on disk (a compiled set's) or cannot be read again.
std::unique_ptr<AuthorCompile> read_on_past_stop(const AuthorCompile& compiled,
                                                 const ScenarioFiles* scenario) {
  if (!scenario || compiled.compilation().trail.recordings.empty()) return nullptr;
  try {
    auto read_on =
        std::make_unique<AuthorCompile>(*scenario, CompileOptions{.read_past_errors = true});
    read_on->compile();
    return read_on;
  } catch (const std::exception&) {  // the page shows what the compile found
    return nullptr;
  }
}

// `on_disk`: the source files, read again for what lies past a compile's stop.
ReportModel model_of(const AuthorCompile& compiled, const ScenarioFiles* on_disk) {
  const std::unique_ptr<AuthorCompile> read_on = read_on_past_stop(compiled, on_disk);
  ReportModel model = build_report_model(compiled.compilation(), compiled.sources(),
                                         read_on ? &read_on->compilation() : nullptr);
  model.documents = shown_documents(compiled);
  return model;
}

// The page, from a compile that writes no file; `recorded` when it recorded an error.
std::string make_page(AuthorCompile& compiled, const ScenarioFiles* on_disk, std::ostream& err,
                      bool& recorded) {
  compiled.compile();
  const ReportModel model = model_of(compiled, on_disk);
  report_diagnostics(compiled, err);
  size_t read_on = 0;  // listed on the page, not found by the compile
  for (const ReportDiagnostic& d : model.diagnostics) read_on += d.after_stop ? 1 : 0;
  const size_t n = model.diagnostics.size() - read_on;
  const size_t warnings = compiled.compilation().trail.warnings.size();
  recorded = n > warnings;
  if (n > 0) {
    std::string what = counted(n - warnings, "error", "errors") + " recorded";
    if (warnings > 0) what += ", " + counted(warnings, "warning", "warnings");
    err << "scenarioc: " << what << "; the report lists " << (n == 1 ? "it" : "them") << "\n";
  }
  return render_report_page(model);
}

void write_page(const fs::path& page_path, const std::string& page, std::ostream& out,
                std::ostream& err) {
  make_parent_folder(page_path);
  make_set_whole(page_path.parent_path(), told_on(err));
  replace_file(page_path, page);
  out << "wrote " << printable_path(page_path) << '\n';
}

// A compiled set in place of the sources: the page of the sources that
// `decompile` writes for it, compiled in memory.
int report_compiled_set(const CommandLine& line, std::ostream& out, std::ostream& err) {
  const CompiledSetScenario set = compiled_set_scenario(line);
  for (const DecompileWarning& w : set.warnings) {
    err << "scenarioc report: warning: " << w.message << '\n';
  }
  const fs::path page_path = report_path(line, set.scenario);
  for (const fs::path& input :
       {set.paths.track_plan, set.paths.station_table, set.paths.route_cells}) {
    if (same_file(page_path, input)) {
      throw UsageFailure("the report '" + page_path.string() +
                         "' would replace the compiled file '" + input.string() + "'");
    }
  }
  bool recorded = false;
  write_page(page_path, make_page(*set.compiled, nullptr, err, recorded), out, err);
  return recorded ? kExitRecorded : kExitOk;
}

}  // namespace

std::string draw_report_page(const AuthorCompile& compiled, const ScenarioFiles& scenario) {
  return render_report_page(model_of(compiled, &scenario));
}

int run_report(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  if (names_compiled_set(line.files)) return report_compiled_set(line, out, err);
  const ScenarioFiles ids = given_scenario_files(line);
  const fs::path page_path = report_path(line, ids);
  for (const std::string& source : line.files) {
    if (same_file(page_path, path_from_utf8(source))) {
      throw UsageFailure("the report '" + page_path.string() + "' would replace the source '" +
                         source + "'");
    }
  }
  AuthorCompile compiled(ids);
  bool recorded = false;
  write_page(page_path, make_page(compiled, &ids, err, recorded), out, err);
  return recorded ? kExitRecorded : kExitOk;
}

}  // namespace scenario
