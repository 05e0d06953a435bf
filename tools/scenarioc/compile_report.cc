#include "scenarioc/compile_report.h"

#include <optional>
#include <string_view>

#include "base/file_naming.h"
#include "compiler/cell_text.h"
#include "compiler/diagnostics.h"
#include "scenarioc/json_writer.h"

namespace scenario {
namespace {

constexpr int kHeaderCell = 1;

// The objects the line file places; every other kind comes from the train file.
bool placed_by_line_file(uint8_t oggetto) {
  return oggetto == kSpeedBoard || oggetto == kIndicationBoard || oggetto == kTunnelLight;
}

// The header cell and its content, for a fatal error's message.
struct HeaderSlot {
  SourceFile file = SourceFile::none;
  std::string text;
};

std::string with_article(const std::string& noun) {
  const bool vowel = std::string_view("aeiou").find(noun.front()) != std::string_view::npos;
  return (vowel ? "an " : "a ") + noun;
}

// "a signal (dato1=41)", or the field alone when the cell names no object.
std::string header_content(const cella& header, const std::string& field) {
  if (header.oggetto == kNoObject) return "no object, yet " + field;
  return with_article(occupant_name(header.oggetto)) + " (" + field + ")";
}

HeaderSlot taken_header_slot(const BuildContext& ctx, int32_t numero) {
  const voce& entry = ctx.tabella[kEntryScenario];
  const bool codes = numero == 1251;
  const int32_t entry_value = codes ? entry.orario : entry.colonna7;
  if (entry_value != 0) {
    return {SourceFile::none, std::string("entry 85 of the station table, the header entry, ") +
                                  "already holds " + (codes ? "orario=" : "colonna7=") +
                                  std::to_string(entry_value)};
  }
  const cella& header = ctx.percorso[kHeaderCell];
  const std::string field =
      codes ? "dato2=" + std::to_string(header.dato2) : "dato1=" + std::to_string(header.dato1);
  const std::string carries =
      codes ? "its dato2 carries the competition code" : "its dato1 carries the header value 5121";
  return {placed_by_line_file(header.oggetto) ? SourceFile::line : SourceFile::train,
          "cell 1 is the header cell and " + carries + ", but it already holds " +
              header_content(header, field) +
              ": an object at the very start of the route fills it; move that object "
              "further along the route"};
}

void write_recording(JsonWriter& json, const Recording& r, const SourceFiles& sources) {
  const bool located = r.where.file != SourceFile::none;
  json.begin_object();
  json.field("number", r.numero);
  json.field("position", r.has_position ? std::optional<int64_t>(r.posizione) : std::nullopt);
  json.key("file");
  if (located) {
    json.text_native(sources.display_name(r.where.file));
  } else {
    json.null();
  }
  const bool has_line = located && r.where.line > 0;
  json.field("line", has_line ? std::optional<int64_t>(r.where.line) : std::nullopt);
  json.field("column", has_line ? std::optional<int64_t>(r.where.column) : std::nullopt);
  json.field_native("message", describe(r));
  json.field_native("diagnostic", format_diagnostic(r, sources));
  json.end_object();
}

void write_fatal(JsonWriter& json, const CompileOutcome& o) {
  json.key("fatal_error");
  if (o.result.fatal_error == 0) {
    json.null();
    return;
  }
  const HeaderSlot slot = taken_header_slot(o.ctx, o.result.fatal_error);
  json.begin_object();
  json.field("number", o.result.fatal_error);
  json.key("file");
  if (slot.file != SourceFile::none) {
    json.text_native(o.sources.display_name(slot.file));
  } else {
    json.null();
  }
  json.field_native("message", slot.text);
  json.field_native("diagnostic", fatal_diagnostic(o));
  json.end_object();
}

std::string written_path(const CompileOutcome& o, const std::string& name) {
  return file_in(o.out_dir, name).string();
}

}  // namespace

int compile_exit_status(const CompileOutcome& o) {
  if (o.result.fatal_error != 0 || o.result.cell_row_missing) return 2;
  return o.ctx.recordings.empty() ? 0 : 1;
}

std::string fatal_diagnostic(const CompileOutcome& o) {
  const HeaderSlot slot = taken_header_slot(o.ctx, o.result.fatal_error);
  std::string prefix =
      slot.file == SourceFile::none ? std::string("scenarioc") : o.sources.display_name(slot.file);
  return prefix + ": error " + std::to_string(o.result.fatal_error) + ": " + slot.text +
         "; no compiled file was written";
}

void report_compile_text(const CompileOutcome& o, std::ostream& out, std::ostream& err) {
  for (const Recording& recording : o.ctx.recordings) {
    err << format_diagnostic(recording, o.sources) << '\n';
  }
  if (o.result.fatal_error != 0) {
    err << fatal_diagnostic(o) << '\n';
    return;
  }
  if (o.result.cell_row_missing) {
    err << "scenarioc: no compiled file written: " << cell_row_missing_reason(o.ctx) << '\n';
    return;
  }
  for (const std::string& name : o.result.files_written) {
    out << "wrote " << written_path(o, name) << '\n';
  }
  const size_t n = o.ctx.recordings.size();
  if (n > 0) {
    err << "scenarioc: " << n << (n == 1 ? " error" : " errors")
        << " recorded; the compiled files were written all the same\n";
  }
}

void report_compile_json(const CompileOutcome& o, std::ostream& out) {
  JsonWriter json;
  json.begin_object();
  json.field_native("nome", o.ctx.nome);
  json.field_native("treno", o.ctx.treno);
  json.field("codice_errore", o.ctx.codice_errore);
  json.field("posizione_errore", o.ctx.posizione_errore);
  json.key("n");  // the last cell index of the route
  if (o.ctx.has_cell_row()) {
    json.number(static_cast<int64_t>(o.ctx.last_cell()));
  } else {
    json.null();
  }
  json.key("recordings");
  json.begin_array();
  for (const Recording& recording : o.ctx.recordings) write_recording(json, recording, o.sources);
  json.end_array();
  write_fatal(json, o);
  json.key("cell_row_missing");
  if (o.result.cell_row_missing) {
    json.text_native(cell_row_missing_reason(o.ctx));
  } else {
    json.null();
  }
  json.key("files_written");
  json.begin_array();
  for (const std::string& name : o.result.files_written) json.text_native(written_path(o, name));
  json.end_array();
  json.field("exit_status", compile_exit_status(o));
  json.end_object();
  out << json.take();
}

}  // namespace scenario
