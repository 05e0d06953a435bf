#include "compiler/parser.h"

#include <optional>
#include <string>
#include <utility>

#include "base/run_time_failure.h"
#include "compiler/parse_session.h"

namespace scenario {
namespace {

void parse_sources(ParseSession& s) {
  BuildContext& ctx = s.ctx;
  ctx.tabella[kEntryScenario].testo = ctx.nome;
  ctx.tabella[kEntrySignals].testo = ctx.treno;
  if (!s.sources.exists(SourceFile::line)) {
    s.current = SourceFile::line;
    Recording r;
    r.numero = 101;
    r.where.file = SourceFile::line;
    record_error(ctx, std::move(r));
    return;
  }
  s.open(SourceFile::line);
  if (parse_line_source(s) == Flow::parse_ends) return;
  parse_train_source(s);
}

// The failure trap: any run-time failure ends the parse as error 25, with
// every file closed and the sources that still exist deleted.
void trap_failure(ParseSession& s, const RunTimeFailure& failure) {
  Recording r = s.failure_recording(failure);
  if (!s.ctx.past_compile_stop) {
    if (std::optional<Note> note = s.early_end_note()) r.notes.push_back(*note);
  }
  s.close();
  record_error(s.ctx, std::move(r));
  for (SourceFile which : {SourceFile::line, SourceFile::train}) {
    if (s.sources.exists(which)) s.sources.remove(which);
  }
}

}  // namespace

void memorizza_dati(BuildContext& ctx, SourceFiles& sources) {
  ParseSession session(ctx, sources);
  try {
    parse_sources(session);
  } catch (const RunTimeFailure& failure) {
    trap_failure(session, failure);
  }
}

}  // namespace scenario
