#include "scenarioc/report/report_command.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "compiler/diagnostics/diagnostics.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/report/report_model.h"
#include "scenarioc/report/report_page.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

fs::path report_path(const CommandLine& line, const ScenarioFiles& ids) {
  if (line.out_file) return path_from_utf8(*line.out_file);
  const fs::path parent = path_from_utf8(line.files[0]).parent_path();
  return file_in(parent.empty() ? fs::path(".") : parent, report_page_name(ids.nome, ids.treno));
}

void make_parent_folder(const fs::path& file) {
  const fs::path folder = file.parent_path();
  if (folder.empty()) return;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw RunTimeFailure("cannot create folder '" + folder.string() + "': " + ec.message());
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

// The page, from a compile that writes no file; `recorded` when it recorded an error.
std::string make_page(const ScenarioFiles& scenario, std::ostream& err, bool& recorded) {
  AuthorCompile compiled(scenario);
  compiled.compile();
  const ReportModel model = build_report_model(compiled.compilation(), compiled.sources());
  report_diagnostics(compiled, err);
  const size_t n = model.diagnostics.size();
  const size_t warnings = compiled.compilation().trail.warnings.size();
  recorded = n > warnings;
  if (n > 0) {
    std::string what = counted(n - warnings, "error", "errors") + " recorded";
    if (warnings > 0) what += ", " + counted(warnings, "warning", "warnings");
    err << "scenarioc: " << what << "; the report lists " << (n == 1 ? "it" : "them") << "\n";
  }
  return render_report_page(model);
}

}  // namespace

std::string draw_report_page(const AuthorCompile& compiled) {
  return render_report_page(build_report_model(compiled.compilation(), compiled.sources()));
}

int run_report(const CommandLine& line, std::istream&, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<ScenarioFiles> ids = scenario_files_of(line, error);
  if (!ids) throw UsageFailure(error);
  const fs::path page_path = report_path(line, *ids);
  for (const std::string& source : line.files) {
    if (same_file(page_path, path_from_utf8(source))) {
      throw UsageFailure("the report '" + page_path.string() + "' would replace the source '" +
                         source + "'");
    }
  }
  bool recorded = false;
  const std::string page = make_page(*ids, err, recorded);
  make_parent_folder(page_path);
  replace_file(page_path, page);
  out << "wrote " << printable_path(page_path) << '\n';
  return recorded ? kExitRecorded : kExitOk;
}

}  // namespace scenario
