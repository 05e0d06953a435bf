#include "scenarioc/output/compile_report.h"

#include <optional>
#include <string>
#include <vector>

#include "base/file_naming.h"
#include "base/text_encoding.h"
#include "compiler/diagnostics/diagnostics.h"
#include "scenarioc/command_exit.h"
#include "scenarioc/output/diagnostic_groups.h"
#include "scenarioc/output/diagnostic_json.h"
#include "scenarioc/output/diagnostic_listing.h"
#include "scenarioc/version.h"

namespace scenario {
namespace {

Json fatal_json(const CompileOutcome& o) {
  if (o.result.fatal_error == 0) return nullptr;
  const FatalExplanation fatal = explain_fatal(o.ctx, o.result.fatal_error);
  Json json = Json::object();
  json["number"] = o.result.fatal_error;
  json["file"] =
      fatal.file != SourceFile::none ? json_native(o.sources.display_name(fatal.file)) : nullptr;
  const bool has_line = fatal.where.file != SourceFile::none && fatal.where.line > 0;
  json["line"] = json_number(has_line ? std::optional<int64_t>(fatal.where.line) : std::nullopt);
  json["column"] =
      json_number(has_line ? std::optional<int64_t>(fatal.where.column) : std::nullopt);
  json["message"] = json_native(fatal.text);
  json["diagnostic"] = json_native(fatal_diagnostic(o));
  return json;
}

std::string written_path(const CompileOutcome& o, const std::string& name) {
  return file_in(o.out_dir, name).string();
}

std::string count_of(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

int compile_exit_status(const CompileOutcome& o, const WarningSettings& warnings) {
  if (o.result.fatal_error != 0 || o.result.cell_row_missing) return kExitFailure;
  if (!o.ctx.trail.recordings.empty()) return kExitRecorded;
  return warnings.as_errors && shown_warnings(o.ctx.trail, warnings) > 0 ? kExitRecorded : kExitOk;
}

std::string fatal_diagnostic(const CompileOutcome& o) {
  return format_fatal_diagnostic(o.ctx, o.result.fatal_error, o.sources, "scenarioc");
}

std::string diagnostics_text(const CompileOutcome& o, SourceLines& lines,
                             const Presentation& presentation) {
  DiagnosticPrinter printer(o.sources, lines, presentation.colour, presentation.warnings.as_errors);
  std::string text;
  const std::vector<ListedDiagnostic> all =
      diagnostics_in_order(o.ctx.trail, presentation.warnings);
  const GroupedListing grouping = group_diagnostics(all);
  for (const GroupedDiagnostic& d : grouping.listed) {
    text += printer.print(d.diagnostic);
    if (d.more_of_its_kind > 0) text += "scenarioc: " + more_of_a_kind(d) + "\n";
  }
  if (grouping.left_out > 0) {
    text += "scenarioc: " + count_of(all.size(), "diagnostic", "diagnostics") + " in all, " +
            std::to_string(grouping.left_out) +
            " of them not listed above; --json lists every one\n";
  }
  if (o.result.fatal_error != 0) {
    text += printer.print_error_line(fatal_diagnostic(o),
                                     explain_fatal(o.ctx, o.result.fatal_error).where);
  }
  return text;
}

std::string warnings_summary(const CompileOutcome& o, const WarningSettings& warnings) {
  const size_t n = shown_warnings(o.ctx.trail, warnings);
  if (n == 0) return "";
  std::string text = "scenarioc: " + count_of(n, "warning", "warnings");
  if (!warnings.as_errors) return text;
  text += " treated as errors (-Werror)";
  if (o.ctx.trail.recordings.empty() && o.result.wrote_files()) {
    text += "; the compiled files were written all the same";
  }
  return text;
}

void report_compile_text(const CompileOutcome& o, SourceLines& lines,
                         const Presentation& presentation, std::ostream& out, std::ostream& err) {
  err << diagnostics_text(o, lines, presentation);
  const std::string warnings = warnings_summary(o, presentation.warnings);
  if (o.result.fatal_error == 0 && o.result.cell_row_missing) {
    err << "scenarioc: no compiled file written: " << cell_row_missing_reason(o.ctx) << '\n';
  }
  for (const std::string& name : o.result.files_written) {
    out << "wrote " << printable_from_native(written_path(o, name)) << '\n';
  }
  if (!warnings.empty()) err << warnings << '\n';
  const size_t n = o.ctx.trail.recordings.size();
  if (n > 0 && o.result.wrote_files()) {
    err << "scenarioc: " << count_of(n, "error", "errors")
        << " recorded; the compiled files were written all the same\n";
  }
}

void add_outcome_fields(Json& json, const CompileOutcome& o, const WarningSettings& warnings) {
  json["nome"] = json_native(o.ctx.nome);
  json["treno"] = json_native(o.ctx.treno);
  json["codice_errore"] = o.ctx.codice_errore;
  json["posizione_errore"] = o.ctx.posizione_errore;
  // The last cell index of the route.
  json["n"] =
      json_number(o.ctx.has_cell_row() ? std::optional<int64_t>(o.ctx.last_cell()) : std::nullopt);
  Json& recordings = json["recordings"] = Json::array();
  for (const Recording& recording : o.ctx.trail.recordings) {
    recordings.push_back(error_json(recording, o.sources));
  }
  Json& shown = json["warnings"] = Json::array();
  for (const Warning& warning : o.ctx.trail.warnings) {
    if (warnings.shows(warning.kind)) {
      shown.push_back(warning_json(warning, warnings.as_errors, o.sources));
    }
  }
  json["fatal_error"] = fatal_json(o);
  json["cell_row_missing"] =
      o.result.cell_row_missing ? json_native(cell_row_missing_reason(o.ctx)) : Json(nullptr);
}

Json compile_json(const CompileOutcome& o, const WarningSettings& warnings) {
  Json json = Json::object();
  add_outcome_fields(json, o, warnings);
  Json& written = json["files_written"] = Json::array();
  for (const std::string& name : o.result.files_written) {
    written.push_back(json_native(written_path(o, name)));
  }
  return json;
}

void end_compile_json(Json& json, int exit_status) {
  json["exit_status"] = exit_status;
  json["version"] = json_native(scenarioc_version());  // last, after the fields of earlier versions
}

void report_compile_json(const CompileOutcome& o, const WarningSettings& warnings,
                         std::ostream& out) {
  Json json = compile_json(o, warnings);
  end_compile_json(json, compile_exit_status(o, warnings));
  out << json_text(json) << '\n';
}

}  // namespace scenario
