#include "compiler/parser.h"

#include <string>

#include "base/run_time_failure.h"
#include "base/text_case.h"
#include "compiler/parse_session.h"

namespace scenario {

void ParseSession::open(SourceFile which) {
  current = which;
  input_ = sources.open(which);
  reader_ = std::make_unique<FieldReader>(*input_);
}

void ParseSession::close() {
  reader_.reset();
  input_.reset();
}

void ParseSession::close_and_delete() {
  close();
  sources.remove(current);
}

void ParseSession::read_keyword() {
  ctx.riga = reader_->read_text();
  lower_riga_ = to_lower_1252(ctx.riga);
  record_ = {current, reader_->field_line(), reader_->field_column()};
  ctx.record_start = record_;
}

bool ParseSession::skip_comments() {
  for (int i = 0; i < 2 && has("-"); ++i) {
    read_keyword();
    if (at_end()) return false;
  }
  return true;
}

void ParseSession::require_cell_row() const {
  if (!ctx.has_cell_row()) {
    throw RunTimeFailure(
        "no route length (\"lunghezza percorso\") has been read, so there is no cell row");
  }
}

int32_t ParseSession::last_cell() const {
  require_cell_row();
  return ctx.last_cell();
}

bool ParseSession::inside_row(int64_t p) const { return p + 100 <= int64_t{50} * last_cell(); }

void ParseSession::record(int32_t code, bool has_position, int32_t position, int64_t cell,
                          uint8_t occupant) {
  Recording r;
  r.numero = code;
  r.has_position = has_position;
  r.posizione = position;
  r.where = record_;
  r.cell = cell;
  r.occupant = occupant;
  record_error(ctx, std::move(r));
}

SourceLocation ParseSession::failure_location() const {
  if (!reader_) return {current, 0, 0};
  return {current, reader_->field_line(), reader_->field_column()};
}

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
  if (parse_line_source(s) == PartEnd::parse_ends) return;
  parse_train_source(s);
}

// The failure trap: any run-time failure ends the parse as error 25, with
// every file closed and the sources that still exist deleted.
void trap_failure(ParseSession& s, const RunTimeFailure& failure) {
  Recording r;
  r.numero = 25;
  r.where = s.failure_location();
  r.reason = failure.what();
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
