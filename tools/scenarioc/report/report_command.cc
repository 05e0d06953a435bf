#include "scenarioc/report/report_command.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "base/file_naming.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "compiler/compile_step.h"
#include "compiler/decompile/decompile.h"
#include "compiler/diagnostics/diagnostics.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/decompile/compiled_set_files.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/compile_report.h"
#include "scenarioc/output/discarding_sink.h"
#include "scenarioc/output/source_excerpt.h"
#include "scenarioc/report/report_model.h"
#include "scenarioc/report/report_page.h"
#include "scenarioc/scenario_inputs.h"
#include "scenarioc/source_names.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr int kRecorded = 1;
constexpr int kFailure = 2;

fs::path report_path(const CommandLine& line, const Identifiers& ids) {
  if (line.out_file) return path_from_utf8(*line.out_file);
  const fs::path parent = path_from_utf8(line.files[0]).parent_path();
  return file_in(parent.empty() ? fs::path(".") : parent,
                 ids.nome + "_" + ids.treno + "_report.html");
}

void make_parent_folder(const fs::path& file) {
  const fs::path folder = file.parent_path();
  if (folder.empty()) return;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw RunTimeFailure("cannot create folder '" + folder.string() + "': " + ec.message());
}

int usage_failure(std::ostream& err, const std::string& error) {
  err << "scenarioc report: " << error << '\n' << usage_hint(Command::report);
  return kFailure;
}

// The errors and warnings as `scenarioc compile` prints them.
void report_diagnostics(const BuildContext& ctx, const CompileResult& result, SourceFiles& sources,
                        std::ostream& err) {
  const CompileOutcome outcome{ctx, result, sources, {}};
  SourceLines lines(sources);
  Presentation presentation;
  presentation.colour = colour_wanted_for(ColourMode::automatic, StandardStream::err);
  err << diagnostics_text(outcome, lines, presentation);
  if (result.cell_row_missing) {
    err << "scenarioc: the compile left no cell row: " << cell_row_missing_reason(ctx) << '\n';
  }
}

std::string counted(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The page, from a compile that writes no file; `recorded` when it recorded an error.
std::string make_page(SourceFiles& sources, const Identifiers& ids, std::ostream& err,
                      bool& recorded) {
  // Compile set-up: in memory, no file written.
  BuildContext ctx;
  ctx.nome = ids.nome;
  ctx.treno = ids.treno;
  DiscardingSink sink;
  const CompileResult result = memorizza_percorso(ctx, 1, sources, sink);
  // End of compile set-up.
  const ReportModel model = build_report_model(ctx, result, sources);
  report_diagnostics(ctx, result, sources, err);
  const size_t n = model.diagnostics.size();
  const size_t warnings = ctx.warnings.size();
  recorded = n > warnings;
  if (n > 0) {
    std::string what = counted(n - warnings, "error", "errors") + " recorded";
    if (warnings > 0) what += ", " + counted(warnings, "warning", "warnings");
    err << "scenarioc: " << what << "; the report lists " << (n == 1 ? "it" : "them") << "\n";
  }
  return render_report_page(model);
}

void write_page(const fs::path& page_path, const std::string& page, std::ostream& out) {
  make_parent_folder(page_path);
  replace_file(page_path, page);
  out << "wrote " << page_path.string() << '\n';
}

// A compiled set in place of the sources: the page of the sources that
// `decompile` writes for it, compiled in memory.
int report_compiled_set(const CommandLine& line, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<CompiledSetPaths> paths = compiled_set_paths(line.files, error);
  if (!paths) return usage_failure(err, error);
  try {
    const CompiledSetBytes bytes = read_compiled_set(*paths);
    const DecompiledScenario decompiled = decompile_sources(bytes.set());
    for (const DecompileWarning& w : decompiled.warnings) {
      err << "scenarioc report: warning: " << w.message << '\n';
    }
    const Identifiers ids{line.name.value_or(decompiled.nome),
                          line.train.value_or(decompiled.treno)};
    for (const auto& [what, value] :
         {std::pair{"the scenario name", ids.nome}, std::pair{"the train number", ids.treno}}) {
      error = unusable_identifier(what, value);
      if (!error.empty()) return usage_failure(err, error);
    }
    const fs::path folder = paths->station_table.parent_path().empty()
                                ? fs::path(".")
                                : paths->station_table.parent_path();
    const fs::path page_path = line.out_file
                                   ? path_from_utf8(*line.out_file)
                                   : file_in(folder, ids.nome + "_" + ids.treno + "_report.html");
    for (const fs::path& input : {paths->track_plan, paths->station_table, paths->route_cells}) {
      if (same_file(page_path, input)) {
        return usage_failure(err, "the report '" + page_path.string() +
                                      "' would replace the compiled file '" + input.string() + "'");
      }
    }
    DecompiledSources sources(decompiled, folder);
    bool recorded = false;
    const std::string page = make_page(sources, ids, err, recorded);
    write_page(page_path, page, out);
    return recorded ? kRecorded : 0;
  } catch (const RunTimeFailure& failure) {
    err << "scenarioc: " << failure.what() << '\n';
    return kFailure;
  }
}

}  // namespace

std::string draw_report_page(const fs::path& line_file, const fs::path& train_file,
                             const std::string& nome, const std::string& treno) {
  AuthorSources sources(line_file, train_file);
  check_sources(sources);
  BuildContext ctx;
  ctx.nome = nome;
  ctx.treno = treno;
  DiscardingSink sink;
  const CompileResult result = memorizza_percorso(ctx, 1, sources, sink);
  return render_report_page(build_report_model(ctx, result, sources));
}

int run_report(const CommandLine& line, std::ostream& out, std::ostream& err) {
  if (names_compiled_set(line.files)) return report_compiled_set(line, out, err);
  if (line.files.size() != 2) {
    return usage_failure(err,
                         "report takes LINE_FILE TRAIN_FILE or TRACK_PLAN STATION_TABLE CELLS or "
                         "FOLDER, " +
                             std::to_string(line.files.size()) + " given");
  }
  std::string error;
  const std::optional<Identifiers> ids = identifiers_of(line, error);
  if (!ids) return usage_failure(err, error);
  const fs::path page_path = report_path(line, *ids);
  for (const std::string& source : line.files) {
    if (same_file(page_path, path_from_utf8(source))) {
      return usage_failure(
          err, "the report '" + page_path.string() + "' would replace the source '" + source + "'");
    }
  }
  AuthorSources sources(path_from_utf8(line.files[0]), path_from_utf8(line.files[1]));
  try {
    check_sources(sources);
    bool recorded = false;
    const std::string page = make_page(sources, *ids, err, recorded);
    write_page(page_path, page, out);
    return recorded ? kRecorded : 0;
  } catch (const RunTimeFailure& failure) {
    err << "scenarioc: " << failure.what() << '\n';
    return kFailure;
  }
}

}  // namespace scenario
