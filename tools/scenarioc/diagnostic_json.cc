#include "scenarioc/diagnostic_json.h"

#include <optional>
#include <vector>

#include "compiler/diagnostics.h"
#include "scenarioc/diagnostic_listing.h"

namespace scenario {
namespace {

void write_location(JsonWriter& json, const SourceLocation& where, const SourceFiles& sources) {
  const bool located = where.file != SourceFile::none;
  json.key("file");
  if (located) {
    json.text_native(sources.display_name(where.file));
  } else {
    json.null();
  }
  const bool has_line = located && where.line > 0;
  json.field("line", has_line ? std::optional<int64_t>(where.line) : std::nullopt);
  json.field("column", has_line ? std::optional<int64_t>(where.column) : std::nullopt);
}

void write_kind(JsonWriter& json, std::string_view severity, std::optional<std::string_view> name) {
  json.field_native("severity", severity);
  json.key("name");
  if (name) {
    json.text_native(*name);
  } else {
    json.null();
  }
}

void write_note_json(JsonWriter& json, const Note& note, const SourceFiles& sources) {
  json.begin_object();
  json.field("number", std::nullopt);
  json.field("position", std::nullopt);
  write_location(json, note.where, sources);
  json.field_native("message", note.message);
  json.field_native("diagnostic", headline(note, sources));
  write_kind(json, "note", std::nullopt);
  json.end_object();
}

void write_notes(JsonWriter& json, const std::vector<Note>& notes, const SourceFiles& sources) {
  json.key("notes");
  json.begin_array();
  for (const Note& note : notes) write_note_json(json, note, sources);
  json.end_array();
}

}  // namespace

void write_error_json(JsonWriter& json, const Recording& r, const SourceFiles& sources) {
  json.begin_object();
  json.field("number", r.numero);
  json.field("position", r.has_position ? std::optional<int64_t>(r.posizione) : std::nullopt);
  write_location(json, r.where, sources);
  json.field_native("message", describe(r));
  json.field_native("diagnostic", headline(r, sources));
  write_kind(json, "error", std::nullopt);
  json.key("after_stop");
  json.boolean(r.after_stop);
  write_notes(json, r.notes, sources);
  json.end_object();
}

void write_warning_json(JsonWriter& json, const Warning& warning, bool as_error,
                        const SourceFiles& sources) {
  json.begin_object();
  json.field("number", std::nullopt);
  json.field("position", std::nullopt);
  write_location(json, warning.where, sources);
  json.field_native("message", warning.message);
  json.field_native("diagnostic", headline(warning, as_error, sources));
  write_kind(json, as_error ? "error" : "warning", warning_name(warning.kind));
  write_notes(json, warning.notes, sources);
  json.end_object();
}

}  // namespace scenario
