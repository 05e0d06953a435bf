#include "compiler/parse/parse_session.h"

#include <string>
#include <utility>

#include "base/run_time_failure.h"
#include "base/text_case.h"
#include "compiler/cells.h"
#include "compiler/diagnostics/diagnostics.h"

namespace scenario {

void ParseSession::open(SourceFile which) {
  current = which;  // a file that cannot be opened is the one a failure names
  open(which, sources.open(which));
}

void ParseSession::open(SourceFile which, std::unique_ptr<ByteSource> input) {
  current = which;
  kind_ = nullptr;
  input_ = std::move(input);
  reader_ = std::make_unique<FieldReader>(*input_);
  extra_after_ = nullptr;
  kind_ = nullptr;
  end_marker_ = {};
  after_end_told_ = false;
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
  kind_ = nullptr;
  if (pending_keyword_) {
    riga = std::move(pending_keyword_->text);
    record_ = pending_keyword_->where;
    keyword_end_ = pending_keyword_->end;
    keyword_starts_line_ = true;
    pending_keyword_.reset();
    lower_riga_ = to_lower_1252(riga);
    return;
  }
  keyword_starts_line_ = reader_->field_end() == FieldEnd::line_end;
  riga = reader_->read_text();
  lower_riga_ = to_lower_1252(riga);
  record_ = {current, reader_->field_line(), reader_->field_column()};
  keyword_end_ = reader_->field_end();
}

bool ParseSession::skip_comments(KindsNamed named) {
  comment_run_ = 0;
  for (int i = 0; i < 2 && has("-"); ++i) {
    check_comment(named(*this));
    read_keyword();
    ++comment_run_;
    if (at_end()) return false;
  }
  return true;
}

void ParseSession::skip_general_comments(KindsNamed named) {
  constexpr int kGeneralCommentReads = 10;
  comment_run_ = 0;
  for (int i = 0; i < kGeneralCommentReads; ++i) {
    if (!has("-")) continue;
    check_comment(named(*this));
    read_keyword();
    ++comment_run_;
  }
}

void ParseSession::begin_record(RecordId id) {
  kind_ = &record_kind(id);
  value_index_ = 0;
  missing_index_ = -1;
  digit_group_.reset();
  record_misread_ = false;
}

void ParseSession::after_value(int64_t v) {
  if (value_index_ < static_cast<int>(value_where_.size())) {
    value_where_[static_cast<size_t>(value_index_)] = {current, reader_->field_line(),
                                                       reader_->field_column()};
  }
  if (value_index_ == missing_index_) missing_found_ = std::to_string(v);
  if (blank_before_ && value_index_ > 0) note_digit_group(v);
  last_number_ = v;
  last_digits_ = reader_->field_digits();
  last_was_text_ = false;
  ++value_index_;
}

std::string ParseSession::text() {
  before_value();
  std::string t = reader_->read_text();
  after_value(0);
  if (value_index_ - 1 == missing_index_) missing_found_ = quote_text(t);
  last_was_text_ = true;
  return t;
}

void ParseSession::end_record() {
  if (missing_index_ >= 0) warn_missing_value();
  const FieldEnd end = reader_->field_end();
  const bool line_goes_on = end == FieldEnd::comma || end == FieldEnd::blank;
  extra_after_ = line_goes_on ? kind_ : nullptr;
  extra_after_text_ = last_was_text_;
  extra_after_number_ = last_number_;
  extra_after_digits_ = last_digits_;
  extra_after_end_ = end;
  extra_after_where_ = value_where_[static_cast<size_t>(std::max(value_index_ - 1, 0))];
  // A group of digits that starts with 0, or a line with fields left over,
  // tells a number written in groups from two values written with a blank.
  if (digit_group_ && (digit_group_->second < 100 || line_goes_on)) {
    const std::string taken_as =
        "is taken as its next value, " +
        std::string(kind_->values[static_cast<size_t>(digit_group_->index) + 1]);
    warn_digit_group(*kind_, *digit_group_, value_where_[static_cast<size_t>(digit_group_->index)],
                     taken_as);
    extra_after_ = nullptr;
    record_misread_ = true;
  }
  digit_group_.reset();
}

void ParseSession::warn(WarningClass kind, SourceLocation where, std::string message,
                        std::vector<Note> notes) {
  // A record whose number was written in groups of digits draws that warning
  // alone: what its values then say follows from it.
  if (kind_ != nullptr && record_misread_) return;
  record_warning(ctx.trail, Warning{kind, where, std::move(message), std::move(notes)});
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

bool ParseSession::inside_row(int64_t p) {
  count_position(p);
  return record_inside_row(p, last_cell());
}

void ParseSession::count_position(int64_t p) {
  PositionsRead& read =
      current == SourceFile::line ? ctx.trail.read.line_positions : ctx.trail.read.train_positions;
  ++read.count;
  if (p <= ctx.tabella[kEntryTrain].valore2) return;
  if (read.beyond_route++ == 0) {
    read.first_beyond = static_cast<int32_t>(p);
    read.first_beyond_where = record_;
  }
}

// --- Errors ---

void ParseSession::record(Recording r) {
  if (r.where.file == SourceFile::none) r.where = record_;
  if (kind_ != nullptr && r.record.empty()) r.record = std::string(kind_->words);
  record_error(ctx, std::move(r));
}

Flow ParseSession::stop(Recording r) {
  if (!ctx.trail.past_compile_stop) {
    // The compile stops at this record.
    if (std::optional<Note> note = early_end_note()) r.notes.push_back(*note);
    line_15_pending_ = false;
  }
  if (read_past_errors && ctx.has_cell_row()) return set_aside(std::move(r));
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
  if (const Placement* holder = ctx.in_row(cell) ? ctx.trail.placement_in(cell) : nullptr) {
    r.notes.push_back({holder->where, placed_here(ctx, *holder)});
  }
  return stop(std::move(r));
}

Flow ParseSession::leave_with_15(int32_t position, int32_t limit, Reason reason, int32_t zone_end) {
  Recording r;
  r.value = zone_end;
  r.numero = 15;
  r.reason = reason;
  r.has_position = true;
  r.posizione = position;
  r.limit = limit;
  r.row_end = static_cast<int32_t>(cell_end(ctx.last_cell()));
  record(std::move(r));
  if (!read_past_errors) return Flow::end_steps;
  if (!ctx.trail.past_compile_stop && current == SourceFile::line) line_15_pending_ = true;
  ctx.trail.past_compile_stop = true;
  skip_rest_of_line();
  return Flow::go_on;
}

SourceLocation ParseSession::failure_location() const {
  if (!reader_) return {current, 0, 0};
  return {current, reader_->field_line(), reader_->field_column()};
}

}  // namespace scenario
