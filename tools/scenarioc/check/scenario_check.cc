#include "scenarioc/check/scenario_check.h"

#include <exception>
#include <optional>

#include "base/text_encoding.h"
#include "compiler/diagnostics/diagnostics.h"
#include "scenarioc/author_compile.h"
#include "scenarioc/documents/document_files.h"
#include "scenarioc/output/diagnostic_listing.h"
#include "scenarioc/scenario_inputs.h"
#include "scenarioc/version.h"

namespace scenario {
namespace {

std::string count_of(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string scenario_name(const ScenarioFiles& s) {
  if (s.train_file.empty()) return printable_path(s.line_file);
  if (s.line_file.empty()) return printable_path(s.train_file);
  return printable_path(s.line_file) + " + " + printable_path(s.train_file);
}

// Why a scenario found in a folder cannot be checked; empty when it can.
std::string unpaired(const ScenarioFiles& s) {
  if (s.train_file.empty()) {
    return "no train file " + s.nome + "_NUMBER-.txt beside the line file";
  }
  if (s.line_file.empty()) return "no line file " + s.nome + "_linea.txt beside the train file";
  return "";
}

size_t found_after_stop(const BuildContext& ctx) {
  size_t n = 0;
  for (const Recording& r : ctx.trail.recordings) n += r.after_stop ? 1 : 0;
  return n;
}

std::string summary_of(const ScenarioFiles& s, const CompileOutcome& o, const WarningSettings& w,
                       size_t document_errors) {
  // A parse that left no cell row without recording why counts as one error.
  const bool unexplained = o.result.cell_row_missing && o.ctx.trail.recordings.empty();
  const size_t errors = o.ctx.trail.recordings.size() + document_errors +
                        (o.result.fatal_error != 0 || unexplained ? 1 : 0);
  const size_t warnings = shown_warnings(o.ctx.trail, w);
  std::string text = scenario_name(s) + ": ";
  if (errors == 0 && warnings == 0) return text + "ok";
  text += count_of(errors, "error", "errors") + ", " + count_of(warnings, "warning", "warnings");
  if (w.as_errors && warnings > 0) text += " (errors under -Werror)";
  const size_t late = found_after_stop(o.ctx);
  if (late > 0) {
    text += "; " + std::to_string(late) + " of the errors found after the point where the " +
            "compile stopped";
  }
  if (o.result.fatal_error != 0 || o.result.cell_row_missing) {
    text += "; a compile would write no file";
  }
  return text;
}

CheckVerdict verdict_of(const CompileOutcome& o, const WarningSettings& w, size_t document_errors) {
  if (o.result.fatal_error != 0 || o.result.cell_row_missing || !o.ctx.trail.recordings.empty() ||
      document_errors > 0) {
    return CheckVerdict::errors;
  }
  return shown_warnings(o.ctx.trail, w) > 0 ? CheckVerdict::warnings : CheckVerdict::ok;
}

int status_of(CheckVerdict verdict, const WarningSettings& w) {
  switch (verdict) {
    case CheckVerdict::ok:
      return 0;
    case CheckVerdict::warnings:
      return w.as_errors ? 1 : 0;
    case CheckVerdict::errors:
      return 1;
    case CheckVerdict::failure:
      return 2;
  }
  return 2;
}

Json begin_json(const ScenarioFiles& s) {
  Json json = Json::object();
  for (const auto& [key, path] :
       {std::pair{"line_file", &s.line_file}, std::pair{"train_file", &s.train_file}}) {
    json[key] = path->empty() ? Json(nullptr) : json_native(utf8_of_path(*path));
  }
  return json;
}

// A scenario that was not compiled: a file missing beside the other, or unreadable.
ScenarioReport not_checked(const ScenarioFiles& s, const std::string& why, CheckVerdict verdict,
                           bool json) {
  ScenarioReport report;
  report.verdict = verdict;
  report.status = verdict == CheckVerdict::failure ? 2 : 1;
  if (!json) {
    report.text = scenario_name(s) + ": not checked: " + printable_from_native(why) + "\n";
    return report;
  }
  Json document = begin_json(s);
  document["failure"] = json_native(why);
  document["exit_status"] = report.status;
  document["version"] = json_native(scenarioc_version());  // last, as in compile --json
  report.text = json_text(document) + "\n";
  return report;
}

// With a details file beside the train file, its faults and the values the
// crew documents would show as placeholders; nothing otherwise.
DocumentsOutcome documents_of(const AuthorCompile& compiled, const DetailsSource& details) {
  if (!details.present) return {};
  const CompileResult& result = compiled.compilation().result;
  if (result.cell_row_missing || result.fatal_error != 0) return {details.faults, {}, {}, ""};
  return check_documents(compiled.compilation(), compiled.sources(), details);
}

ScenarioReport compiled_report(const ScenarioFiles& s, AuthorCompile& compiled,
                               const Presentation& presentation, bool json,
                               const DetailsSource& details) {
  const CompileOutcome outcome = compiled.outcome();
  const DocumentsOutcome documents = documents_of(compiled, details);
  ScenarioReport report;
  report.verdict = verdict_of(outcome, presentation.warnings, documents.errors.size());
  report.status = status_of(report.verdict, presentation.warnings);
  if (json) {
    Json document = begin_json(s);
    add_outcome_fields(document, outcome, presentation.warnings);
    if (details.present) document["documents"] = documents_json(details, documents);
    document["failure"] = nullptr;
    document["exit_status"] = report.status;
    document["version"] = json_native(scenarioc_version());
    report.text = json_text(document) + "\n";
    return report;
  }
  report.text = diagnostics_text(outcome, compiled.lines(), presentation);
  if (outcome.result.cell_row_missing) {
    report.text += printable_path(s.line_file) +
                   ": no compiled file would be written: " + cell_row_missing_reason(outcome.ctx) +
                   "\n";
  }
  for (const DocumentMessage& m : documents.errors) report.text += m.text("error") + "\n";
  for (const DocumentMessage& m : documents.notes) report.text += m.text("note") + "\n";
  report.text += summary_of(s, outcome, presentation.warnings, documents.errors.size()) + "\n";
  return report;
}

}  // namespace

ScenarioReport check_scenario(const ScenarioFiles& s, const Presentation& presentation, bool json) {
  const std::string missing = unpaired(s);
  if (!missing.empty()) return not_checked(s, missing, CheckVerdict::errors, json);
  try {
    AuthorCompile checked(s, {.read_past_errors = true});
    checked.compile();
    const DetailsSource details = details_for(std::nullopt, s.train_file, s.nome, s.treno);
    return compiled_report(s, checked, presentation, json, details);
  } catch (const std::exception& failure) {  // a RunTimeFailure, or memory running out
    return not_checked(s, failure.what(), CheckVerdict::failure, json);
  }
}

}  // namespace scenario
