#include "compiler/parse/parser.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "base/run_time_failure.h"
#include "base/text_encoding.h"
#include "compiler/parse/parse_session.h"

namespace scenario {
namespace {

// The name or number, held as the system names files, in the code page of
// the compiled texts. The authoring tool refuses a name the code page cannot
// hold; such a name would keep its bytes.
std::string table_text(const std::string& identifier) {
  return text_1252_from_native(identifier).value_or(identifier);
}

void parse_sources(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  ctx.tabella[kEntryScenario].testo = table_text(ctx.nome);
  ctx.tabella[kEntrySignals].testo = table_text(ctx.treno);
  s.current = SourceFile::line;
  std::unique_ptr<ByteSource> line = s.sources.open_if_present(SourceFile::line);
  if (!line) {
    Recording r;
    r.numero = 101;
    r.where.file = SourceFile::line;
    record_error(ctx, std::move(r));
    return;
  }
  s.open(SourceFile::line, std::move(line));
  if (parse_line_source(s) == Flow::parse_ends) return;
  parse_train_source(s);
}

// The failure trap: any run-time failure ends the parse as error 25, with
// every file closed and the sources that still exist deleted.
void trap_failure(ParseSession& s, const RunTimeFailure& failure) {
  Recording r = s.failure_recording(failure);
  if (!s.ctx.trail.past_compile_stop) {
    if (std::optional<Note> note = s.early_end_note()) r.notes.push_back(*note);
  }
  s.close();
  record_error(s.ctx, std::move(r));
  for (SourceFile which : {SourceFile::line, SourceFile::train}) {
    if (s.sources.exists(which)) s.sources.remove(which);
  }
}

}  // namespace

void memorizza_dati(BuildContext& ctx, SourceFiles& sources, const CompileOptions& options) {
  ParseSession session(ctx, sources, options);
  try {
    parse_sources(session);
  } catch (const RunTimeFailure& failure) {
    trap_failure(session, failure);
  }
}

}  // namespace scenario
