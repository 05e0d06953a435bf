// The state of one parse: the open source, the cursor (the field in keyword
// position `riga` and the record being read) and the counters of the line and
// train parts, with the ways a record can end the parse, the profile fill, and
// what the parse notes for its warnings and for a check that reads past
// errors. Shared by the two parts of `memorizza_dati`; nothing outside the
// parser uses it.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/approach_marks.h"
#include "compiler/compile_options.h"
#include "compiler/diagnostics/recorded_errors.h"
#include "compiler/diagnostics/warnings.h"
#include "compiler/parse/record_kinds.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "source/field_reader.h"

namespace scenario {

// Where the parse goes after a record, a part or a source file.
enum class Flow {
  go_on,       // the next record, part or file follows
  end_steps,   // the rest of the source is skipped and its end steps follow (error 15)
  parse_ends,  // `memorizza_dati` returns at once
};

// What a profile fill does past the last cell it may write.
enum class AtBound {
  stop,      // the fill ends; the counter stays just past that cell
  count_on,  // the counter moves on to its target, writing nothing more
};

// The last record of one profile (gradient, speed, adhesion), for the checks
// of order and of the profile's start.
struct ProfileTrack {
  bool seen = false;
  int32_t position = 0;
  int32_t value = 0;
  SourceLocation where;
};

// The last station with a scheduled time, for the check of the timetable's order.
struct ScheduledStation {
  bool seen = false;
  int32_t orario = 0;
  int32_t position = 0;
  std::string name;
  SourceLocation where;
};

// A field the parse passed over that an author may have meant as another.
struct FieldSeen {
  std::string text;
  SourceLocation where;
};

// A kilometric reference as its record gave it, before the sort.
struct ReferenceRead {
  bool read = false;
  int32_t valore1 = 0, valore2 = 0, valore3 = 0;
  SourceLocation where;
};

class ParseSession;

// A number that may have been written in groups of digits, "25 000": its first
// group, read as a value of its own, and the group after the blank.
struct DigitGroup {
  int index = 0;  // the value the first group was read as
  int64_t first = 0;
  size_t first_digits = 0;
  int64_t second = 0;
};

// A record kind of one part of a source: its recognition test on `riga` and its reading.
struct RecordReader {
  RecordId id;
  bool (*matches)(const ParseSession&);
  Flow (*parse)(ParseSession&);
};

// The kinds the keyword field names, as a mask of RecordId bits.
using KindsNamed = uint32_t (*)(const ParseSession&);

constexpr uint32_t kind_bit(RecordId id) { return 1u << static_cast<unsigned>(id); }

class ParseSession {
 public:
  ParseSession(BuildContext& ctx, SourceFiles& sources, const CompileOptions& options)
      : ctx(ctx),
        sources(sources),
        scrivi_linea(options.track_plan),
        read_past_errors(options.read_past_errors) {}

  void open(SourceFile which);
  // Reads `input`, already opened, as the source `which`.
  void open(SourceFile which, std::unique_ptr<ByteSource> input);
  void close();
  void close_and_delete();
  bool at_end() { return reader_->at_end(); }

  // Reads the next field into `riga` and remembers where the record starts.
  void read_keyword();
  // A test on `riga`: `keyword` is given in lower case and matched ignoring case.
  bool has(std::string_view keyword) const {
    return lower_riga_.find(keyword) != std::string::npos;
  }
  // A test on `riga` that matches letter case exactly.
  bool has_exact(std::string_view text) const { return riga.find(text) != std::string::npos; }
  // Reads up to two comment fields (fields with a dash) after the keyword field;
  // false when the source ended on one. `named` tells the kinds a comment names.
  bool skip_comments(KindsNamed named);
  // The general part's comment rule: ten reads in a row, with no end test.
  void skip_general_comments(KindsNamed named);
  // After the keyword tests on a field that named `kinds` record kinds (a mask
  // of RecordId bits): the warnings a keyword field can draw.
  void check_keyword(uint32_t kinds, RecordPart part);
  // While "[generale]" is searched for: notes a field that looks like it.
  void note_generale_near();

  // A record's values: `begin_record` names the record, each read takes the
  // next of its values, `end_record` checks that they filled its line.
  void begin_record(RecordId id);
  int32_t int32() {
    before_value();
    return value(reader_->read_int32());
  }
  int16_t int16() {
    before_value();
    return value(reader_->read_int16());
  }
  uint8_t uint8() {
    before_value();
    return value(reader_->read_uint8());
  }
  std::string text();
  void end_record();
  // Where value `index` (from 0) of the record being read starts.
  SourceLocation value_at(int index) const { return value_where_[static_cast<size_t>(index)]; }
  const RecordKind* kind() const { return kind_; }
  // The position of the record being read, for the placements it makes.
  void set_position(int32_t position) { record_position_ = position; }
  int32_t record_position() const { return record_position_; }
  // Puts an object of kind `oggetto` into cell `c` of the row, placed by the record being read.
  void place(int64_t c, uint8_t oggetto) { ctx.place(c, oggetto, record_, record_position_); }

  void warn(WarningClass kind, SourceLocation where, std::string message,
            std::vector<Note> notes = {});

  // Without a cell row (no route length read) every use of it is a run-time failure.
  void require_cell_row() const;
  int32_t last_cell() const;
  // Whether a record position lies inside the cell row: (p + 100) / 50 <= n.
  // Counts the position for the check of a file written for another line.
  bool inside_row(int64_t p);
  // Counts a record's position for that check.
  void count_position(int64_t p);

  // The profile rules' repeat-until loop: writes a value into `field` of cell
  // `next` and moves `next` on by one, until `next` reaches `until`; the body
  // runs at least once. No cell after `last` is written. `value_of` gives the
  // value, and is called only when a cell is written.
  template <typename ValueOf>
  void fill_profile(uint8_t cella::*field, int32_t& next, int64_t until, int64_t last,
                    AtBound at_bound, ValueOf value_of) {
    const int64_t past_last = last + 1;
    if (at_bound == AtBound::stop && next >= past_last) return;
    int64_t end = std::max<int64_t>(int64_t{next} + 1, until);
    if (at_bound == AtBound::stop) end = std::min(end, past_last);
    const int64_t written_end = std::min(end, past_last);
    if (next < written_end) {
      const uint8_t value = value_of();
      for (int64_t i = next; i < written_end; ++i) ctx.percorso[i].*field = value;
    }
    next = static_cast<int32_t>(end);
  }

  // Stopping with error `code`: the source is closed and deleted, the error
  // recorded for the record being read, and the parse ends. A check records
  // it, sets the record aside and reads on.
  Flow stop_with(int32_t code, Reason reason = Reason::none, std::string text = {});
  // The same with the value the rule refused, in metres (errors 1, 3 and 4).
  Flow stop_refusing(int32_t code, int32_t value);
  // The same for an error that names the record's position.
  Flow stop_at(int32_t code, int32_t position, Reason reason = Reason::none);
  // The same for a cell found occupied: `occupant` is what the cell holds.
  Flow stop_on_cell(int32_t code, int32_t position, int64_t cell, uint8_t occupant);
  // The same for a prepared recording.
  Flow stop(Recording r);
  // Error 15 at `position`: the rest of the source is skipped. `limit` is the
  // last position the rule accepts; `zone_end` a station zone's end, where it is the cause.
  Flow leave_with_15(int32_t position, int32_t limit, Reason reason = Reason::none,
                     int32_t zone_end = 0);

  // Runs one step of a parse loop. In a check a run-time failure inside it is
  // recorded as error 25, the failing record set aside and the parse read on;
  // otherwise the failure travels on to the failure trap.
  template <typename Step>
  Flow guarded(Step step) {
    if (!read_past_errors) return step();
    try {
      return step();
    } catch (const RunTimeFailure& failure) {
      return set_aside_failure(failure);
    }
  }
  // Error 25 for a run-time failure, as the failure trap records it.
  Recording failure_recording(const RunTimeFailure& failure) const;
  // A run-time failure within a profile fill belongs to the record that gave
  // the value: `blame` names it, with the failure in words.
  void blame(SourceLocation where, RecordId id, int value_index, std::string text);
  // A check: records error 25 for `failure` (blamed where `blame` says) and
  // reads on; the record being read is not set aside.
  void record_failure_read_past(const RunTimeFailure& failure);
  // The note of a parse that ends early: which profiles keep 0 and from where.
  std::optional<Note> early_end_note() const;
  // In a check: whether the record being stamped is where the compile stops
  // because an error 15 of the line file still stands (once).
  bool earlier_15_stops_here();

  SourceLocation record_location() const { return record_; }
  SourceLocation failure_location() const;

  BuildContext& ctx;
  SourceFiles& sources;
  const bool scrivi_linea;      // the track plan is traced, and curve records are read
  const bool read_past_errors;  // a check: a failing record is set aside and the parse reads on
  SourceFile current = SourceFile::none;
  std::string riga;  // the field in keyword position; an indication board's text once read

  // Line part.
  int32_t indice_cartelli = kFirstBoardEntry;
  int32_t cella_pendenza = 0;
  int32_t previous_gradient = 0;
  int32_t metro = 2;
  // Train part.
  int32_t cella_velocita = 0;
  int32_t cella_aderenza = 0;
  int32_t previous_speed = 0;
  int32_t previous_adhesion = 0;
  int32_t indice_stazione = 1;

  // The speed of the speed record before the last one: a check that sets the
  // last one aside for a speed the cells cannot hold goes on with it.
  int32_t speed_before_previous = 0;

  // What the warnings compare a record with.
  ProfileTrack gradients, speeds, adhesions, curves, mountains;
  ProfileTrack curve_reach;  // the curve that ends furthest along: `value` is its end
  ScheduledStation scheduled;
  // While "[generale]" is searched for: the first field that looks like it.
  std::optional<FieldSeen> generale_near;
  bool train_has_fields = false;            // a field other than an empty one was read
  std::array<ReferenceRead, 3> references;  // as read into entries 81, 82, 83
  ApproachMarks marks;
  bool saw_general_part = false;

 private:
  template <typename T>
  T value(T v) {
    after_value(static_cast<int64_t>(v));
    return v;
  }
  void before_value() {
    const FieldEnd end = reader_->field_end();
    if (end == FieldEnd::line_end && missing_index_ < 0) missing_index_ = value_index_;
    blank_before_ = end == FieldEnd::blank;
  }
  void after_value(int64_t v);
  void note_digit_group(int64_t v);
  void warn_digit_group(const RecordKind& kind, const DigitGroup& group, SourceLocation where,
                        const std::string& taken_as);
  void note_header(uint32_t kinds);
  void warn_extra_fields(uint32_t kinds);
  void warn_missing_value();
  void check_comment(uint32_t kinds);
  // Records `r` for the record being read.
  void record(Recording r);
  // A check: the record is set aside and the line it stands on skipped.
  Flow set_aside(Recording r);
  Flow set_aside_failure(const RunTimeFailure& failure);
  void skip_rest_of_line();

  std::unique_ptr<ByteSource> input_;
  std::unique_ptr<FieldReader> reader_;
  std::string lower_riga_;
  SourceLocation record_;        // where the record being read starts: its keyword field
  int32_t record_position_ = 0;  // the position of the record being read, in metres
  bool keyword_starts_line_ = true;
  FieldEnd keyword_end_ = FieldEnd::line_end;
  int comment_run_ = 0;  // comment fields passed over right before the keyword field

  // The record being read.
  const RecordKind* kind_ = nullptr;
  int value_index_ = 0;
  int missing_index_ = -1;  // the first value taken from a later line
  std::string missing_found_;
  int64_t last_number_ = 0;
  bool last_was_text_ = false;
  size_t last_digits_ = 0;
  bool blank_before_ = false;  // the value being read follows the last one after a blank
  std::optional<DigitGroup> digit_group_;  // a value that may be a number's first digits
  bool record_misread_ = false;            // the record drew a warning that explains the rest
  std::array<SourceLocation, 17> value_where_{};
  // A record whose line went on after its values: the next keyword field is
  // one of those values, and draws the warning.
  const RecordKind* extra_after_ = nullptr;
  bool extra_after_text_ = false;
  int64_t extra_after_number_ = 0;
  size_t extra_after_digits_ = 0;
  FieldEnd extra_after_end_ = FieldEnd::comma;
  SourceLocation extra_after_where_;  // where the record's last value starts

  // "[fine]" met in keyword position in this source, and whether a record after it was told.
  SourceLocation end_marker_;
  bool after_end_told_ = false;

  // A failure blamed on an earlier record.
  struct Blame {
    SourceLocation where;
    const RecordKind* kind = nullptr;
    int value_index = 0;
    std::string text;
  };
  std::optional<Blame> blame_;

  // A check: a field already read that the next keyword read takes.
  struct PendingKeyword {
    std::string text;
    SourceLocation where;
    FieldEnd end;
  };
  std::optional<PendingKeyword> pending_keyword_;

  // A check: the compile has an error 15 of the line file standing and has not
  // yet met the train record it stops at.
  bool line_15_pending_ = false;
};

// The kinds of `readers` that the keyword field names; the tests are all made.
template <size_t N>
uint32_t kinds_named(const ParseSession& s, const RecordReader (&readers)[N]) {
  uint32_t named = 0;
  for (const RecordReader& reader : readers) {
    if (reader.matches(s)) named |= kind_bit(reader.id);
  }
  return named;
}

// Every kind named reads its own values, in the order of `readers`, after the
// keyword field's warnings.
template <size_t N>
Flow read_records(ParseSession& s, const RecordReader (&readers)[N], RecordPart part) {
  const uint32_t named = kinds_named(s, readers);
  s.check_keyword(named, part);
  for (const RecordReader& reader : readers) {
    if ((named & kind_bit(reader.id)) == 0) continue;
    const Flow flow = reader.parse(s);
    if (flow != Flow::go_on) return flow;
  }
  return Flow::go_on;
}

Flow parse_line_source(ParseSession& s);
void parse_train_source(ParseSession& s);

}  // namespace scenario
