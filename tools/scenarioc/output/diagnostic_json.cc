#include "scenarioc/output/diagnostic_json.h"

#include <optional>
#include <vector>

#include "compiler/diagnostics/diagnostics.h"
#include "scenarioc/output/diagnostic_listing.h"

namespace scenario {
namespace {

void add_location(Json& json, const SourceLocation& where, const SourceFiles& sources) {
  const bool located = where.file != SourceFile::none;
  json["file"] = located ? json_native(sources.display_name(where.file)) : Json(nullptr);
  const bool has_line = located && where.line > 0;
  json["line"] = json_number(has_line ? std::optional<int64_t>(where.line) : std::nullopt);
  json["column"] = json_number(has_line ? std::optional<int64_t>(where.column) : std::nullopt);
}

void add_kind(Json& json, std::string_view severity, std::optional<std::string_view> name) {
  json["severity"] = json_native(severity);
  json["name"] = name ? json_native(*name) : Json(nullptr);
}

Json note_json(const Note& note, const SourceFiles& sources) {
  Json json = Json::object();
  json["number"] = nullptr;
  json["position"] = nullptr;
  add_location(json, note.where, sources);
  json["message"] = json_native(note.message);
  json["diagnostic"] = json_native(headline(note, sources));
  add_kind(json, "note", std::nullopt);
  return json;
}

Json notes_json(const std::vector<Note>& notes, const SourceFiles& sources) {
  Json array = Json::array();
  for (const Note& note : notes) array.push_back(note_json(note, sources));
  return array;
}

}  // namespace

Json error_json(const Recording& r, const SourceFiles& sources) {
  Json json = Json::object();
  json["number"] = r.numero;
  json["position"] =
      json_number(r.has_position ? std::optional<int64_t>(r.posizione) : std::nullopt);
  add_location(json, r.where, sources);
  json["message"] = json_native(describe(r));
  json["diagnostic"] = json_native(headline(r, sources));
  add_kind(json, "error", std::nullopt);
  json["after_stop"] = r.after_stop;
  json["notes"] = notes_json(r.notes, sources);
  return json;
}

Json warning_json(const Warning& warning, bool as_error, const SourceFiles& sources) {
  Json json = Json::object();
  json["number"] = nullptr;
  json["position"] = nullptr;
  add_location(json, warning.where, sources);
  json["message"] = json_native(warning.message);
  json["diagnostic"] = json_native(headline(warning, as_error, sources));
  add_kind(json, as_error ? "error" : "warning", warning_name(warning.kind));
  json["notes"] = notes_json(warning.notes, sources);
  return json;
}

}  // namespace scenario
