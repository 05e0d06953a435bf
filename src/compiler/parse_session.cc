#include "compiler/parse_session.h"

#include <string>
#include <utility>

#include "base/run_time_failure.h"
#include "base/text_case.h"

namespace scenario {

void ParseSession::open(SourceFile which) {
  current = which;  // a file that cannot be opened is the one a failure names
  open(which, sources.open(which));
}

void ParseSession::open(SourceFile which, std::unique_ptr<ByteSource> input) {
  current = which;
  input_ = std::move(input);
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

void ParseSession::record(Recording r) {
  r.where = record_;
  record_error(ctx, std::move(r));
}

Flow ParseSession::stop(Recording r) {
  close_and_delete();
  record(std::move(r));
  return Flow::parse_ends;
}

Flow ParseSession::stop_with(int32_t code, Reason reason, std::string text) {
  Recording r;
  r.numero = code;
  r.reason = reason;
  r.text = std::move(text);
  return stop(std::move(r));
}

Flow ParseSession::stop_refusing(int32_t code, int32_t value) {
  Recording r;
  r.numero = code;
  r.value = value;
  return stop(std::move(r));
}

Flow ParseSession::stop_at(int32_t code, int32_t position, Reason reason) {
  Recording r;
  r.numero = code;
  r.reason = reason;
  r.has_position = true;
  r.posizione = position;
  return stop(std::move(r));
}

Flow ParseSession::stop_on_cell(int32_t code, int32_t position, int64_t cell, uint8_t occupant) {
  Recording r;
  r.numero = code;
  r.has_position = true;
  r.posizione = position;
  r.cell = cell;
  r.occupant = occupant;
  return stop(std::move(r));
}

Flow ParseSession::leave_with_15(int32_t position, Reason reason) {
  Recording r;
  r.numero = 15;
  r.reason = reason;
  r.has_position = true;
  r.posizione = position;
  record(std::move(r));
  return Flow::end_steps;
}

SourceLocation ParseSession::failure_location() const {
  if (!reader_) return {current, 0, 0};
  return {current, reader_->field_line(), reader_->field_column()};
}

}  // namespace scenario
