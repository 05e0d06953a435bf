#include "scenarioc/lsp/published_diagnostics.h"

#include <string>

#include "compiler/diagnostics/diagnostics.h"
#include "scenarioc/output/diagnostic_listing.h"
#include "scenarioc/output/warning_settings.h"

namespace scenario::lsp {
namespace {

constexpr int kError = 1;
constexpr int kWarning = 2;

bool located(const SourceLocation& where) {
  return where.file != SourceFile::none && where.line > 0;
}

// A diagnostic with no place stands at the start of the line file.
Range range_of(const ScenarioAnalysis& a, const SourceLocation& where) {
  if (!located(where)) return {{0, 0}, {0, 1}};
  return a.side(where.file).text.field_range(where.line, where.column);
}

Json location_json(const ScenarioAnalysis& a, const SourceLocation& where) {
  return {{"uri", a.side(where.file).uri}, {"range", range_json(range_of(a, where))}};
}

Json diagnostic_json(const ScenarioAnalysis& a, const SourceLocation& where, int severity,
                     Json code, std::string message, const std::vector<Note>& notes) {
  Json related = Json::array();
  for (const Note& note : notes) {
    if (located(note.where)) {
      related.push_back({{"location", location_json(a, note.where)}, {"message", note.message}});
    } else {
      message += "\nnote: " + note.message;
    }
  }
  Json json = Json::object();
  json["range"] = range_json(range_of(a, where));
  json["severity"] = severity;
  json["code"] = std::move(code);
  json["source"] = "scenarioc";
  json["message"] = json_native(message);
  if (!related.empty()) json["relatedInformation"] = std::move(related);
  return json;
}

SourceFile file_of(const SourceLocation& where) {
  return located(where) ? where.file : SourceFile::line;
}

}  // namespace

std::vector<Publication> diagnostics_of(const ScenarioAnalysis& a) {
  Json lists[2] = {Json::array(), Json::array()};
  const auto add = [&](const SourceLocation& where, Json diagnostic) {
    lists[file_of(where) == SourceFile::train ? 1 : 0].push_back(std::move(diagnostic));
  };
  const BuildContext& ctx = a.context();
  for (const ListedDiagnostic& d : diagnostics_in_order(ctx.trail, WarningSettings())) {
    if (d.error) {
      const Recording& r = *d.error;
      std::string message = describe(r);
      if (r.after_stop) message += kAfterStopMark;
      add(r.where, diagnostic_json(a, r.where, kError, r.numero, message, r.notes));
    } else {
      const Warning& w = *d.warning;
      add(w.where, diagnostic_json(a, w.where, kWarning, std::string(warning_name(w.kind)),
                                   w.message, w.notes));
    }
  }
  if (a.result().fatal_error != 0) {
    const FatalExplanation fatal = explain_fatal(ctx, a.result().fatal_error);
    add(fatal.where, diagnostic_json(a, fatal.where, kError, a.result().fatal_error,
                                     fatal.text + "; no compiled file would be written", {}));
  } else if (a.result().cell_row_missing) {
    add({},
        diagnostic_json(a, {}, kError, nullptr,
                        "no compiled file would be written: " + cell_row_missing_reason(ctx), {}));
  }
  return {{a.line().uri, std::move(lists[0])}, {a.train().uri, std::move(lists[1])}};
}

Json note_locations(const ScenarioAnalysis& a, SourceFile which, int64_t line) {
  Json locations = Json::array();
  const auto add_notes = [&](const SourceLocation& where, const std::vector<Note>& notes) {
    if (where.file != which || where.line != line + 1) return;
    for (const Note& note : notes) {
      if (located(note.where)) locations.push_back(location_json(a, note.where));
    }
  };
  for (const Recording& r : a.context().trail.recordings) add_notes(r.where, r.notes);
  for (const Warning& w : a.context().trail.warnings) add_notes(w.where, w.notes);
  return locations;
}

}  // namespace scenario::lsp
