// How a parse reports a run-time failure and a parse that ends early, and how a
// check reads past the errors that end a compile: the failing record is set
// aside and the parse reads on from the next line. From the first record the
// compile would not have read (after an error that ends its parse, or the rest
// of a file it leaves after an error 15) the check's state is its own, and
// every error it records is marked as found after the compile's stop.
#include <string>
#include <utility>

#include "compiler/cells.h"
#include "compiler/parse/parse_session.h"

namespace scenario {
namespace {

std::string from_metre(int32_t cell) { return "from " + std::to_string(cell_end(cell)) + " m"; }

}  // namespace

Recording ParseSession::failure_recording(const RunTimeFailure& failure) const {
  Recording r;
  r.numero = 25;
  r.text = failure.what();
  if (blame_) {
    r.where = blame_->where;
    r.record = std::string(blame_->kind->words);
    r.value_index = blame_->value_index + 1;
    r.value_count = static_cast<int32_t>(blame_->kind->values.size());
    r.value_name = std::string(blame_->kind->values[static_cast<size_t>(blame_->value_index)]);
    r.text = blame_->text;
    return r;
  }
  const auto* field = dynamic_cast<const FieldReadFailure*>(&failure);
  if (field != nullptr) {
    r.failure = field->kind;
    r.found = field->found;
    r.found_at = {current, field->line, field->column};
  }
  if (kind_ == nullptr) {
    r.where = field != nullptr ? r.found_at : failure_location();
    return r;
  }
  r.where = record_;
  r.record = std::string(kind_->words);
  r.value_count = static_cast<int32_t>(kind_->values.size());
  if (field != nullptr && value_index_ < r.value_count) {
    r.value_index = value_index_ + 1;
    r.value_name = std::string(kind_->values[static_cast<size_t>(value_index_)]);
  }
  if (missing_index_ >= 0 && value_index_ >= missing_index_) r.values_on_line = missing_index_;
  if (riga.find(';') != std::string::npos) r.separator = ';';
  if (riga.find('\t') != std::string::npos) r.separator = '\t';
  return r;
}

void ParseSession::blame(SourceLocation where, RecordId id, int value_index, std::string text) {
  blame_ = Blame{where, &record_kind(id), value_index, std::move(text)};
}

std::optional<Note> ParseSession::early_end_note() const {
  if (!ctx.has_cell_row()) return std::nullopt;
  const int32_t n = ctx.last_cell();
  std::string zeros;
  const auto add = [&zeros](const std::string& part) {
    zeros += (zeros.empty() ? "" : "; ") + part;
  };
  if (current == SourceFile::line) {
    if (cella_pendenza < n - 2) {
      add("gradient " + from_metre(cella_pendenza) + ", which the cells hold as -100 per mille");
    }
    add("speed limit and adhesion in every cell, as the train file is not read");
    if (scrivi_linea && metro <= ctx.metri_totali - 2) {
      add("the track plan holds no point from metre " + std::to_string(metro));
    }
  } else {
    if (cella_velocita < n - 2) add("speed limit " + from_metre(cella_velocita));
    if (cella_aderenza < n - 2) add("adhesion " + from_metre(cella_aderenza));
  }
  // A check reads on, but says what a compile of the same text would write.
  std::string text = std::string(read_past_errors ? "a" : "the") +
                     " compile stops at this record: nothing after it is read, and the compiled "
                     "files are written with what was read so far";
  if (!zeros.empty()) text += ", keeping 0 in the cells no value reached: " + zeros;
  if (read_past_errors) text += "; this check reads on";
  return Note{{}, text};
}

// --- A check ---

void ParseSession::skip_rest_of_line() {
  extra_after_ = nullptr;
  while (!reader_->at_end() && reader_->field_end() != FieldEnd::line_end &&
         reader_->field_end() != FieldEnd::file_end) {
    try {
      reader_->read_text();
    } catch (const FieldReadFailure&) {
      // The over-long field is consumed all the same.
    }
  }
}

Flow ParseSession::set_aside(Recording r) {
  record(std::move(r));
  ctx.trail.past_compile_stop = true;
  skip_rest_of_line();
  return Flow::go_on;
}

void ParseSession::record_failure_read_past(const RunTimeFailure& failure) {
  Recording r = failure_recording(failure);
  blame_.reset();
  if (!ctx.trail.past_compile_stop) {
    if (std::optional<Note> note = early_end_note()) r.notes.push_back(*note);
    line_15_pending_ = false;
  }
  record_error(ctx, std::move(r));
  ctx.trail.past_compile_stop = true;
}

Flow ParseSession::set_aside_failure(const RunTimeFailure& failure) {
  // Without a cell row or a source nothing more can be read: the trap ends the parse.
  if (!ctx.has_cell_row() || reader_ == nullptr) throw;
  record_failure_read_past(failure);
  // A value taken from a later line failed on that line's keyword: it is read as one.
  const auto* field = dynamic_cast<const FieldReadFailure*>(&failure);
  if (field != nullptr && kind_ != nullptr && field->starts_line && field->line > record_.line) {
    pending_keyword_ =
        PendingKeyword{field->found, {current, field->line, field->column}, reader_->field_end()};
    extra_after_ = nullptr;
    return Flow::go_on;
  }
  skip_rest_of_line();
  return Flow::go_on;
}

bool ParseSession::earlier_15_stops_here() {
  if (!line_15_pending_) return false;
  line_15_pending_ = false;
  return true;
}

}  // namespace scenario
