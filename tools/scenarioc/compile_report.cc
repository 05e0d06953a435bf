#include "scenarioc/compile_report.h"

#include <optional>
#include <string>

#include "base/file_naming.h"
#include "compiler/diagnostics.h"
#include "scenarioc/json_writer.h"

namespace scenario {
namespace {

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
  const FatalExplanation fatal = explain_fatal(o.ctx, o.result.fatal_error);
  json.begin_object();
  json.field("number", o.result.fatal_error);
  json.key("file");
  if (fatal.file != SourceFile::none) {
    json.text_native(o.sources.display_name(fatal.file));
  } else {
    json.null();
  }
  json.field_native("message", fatal.text);
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
  return format_fatal_diagnostic(o.ctx, o.result.fatal_error, o.sources, "scenarioc");
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
