// The state of one parse: the open source, the field in keyword position and
// the counters of the line and train parts, with the ways a record can end the
// parse and the profile fill. Shared by the two parts of `memorizza_dati`;
// nothing outside the parser uses it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "compiler/recorded_errors.h"
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

class ParseSession {
 public:
  ParseSession(BuildContext& ctx, SourceFiles& sources) : ctx(ctx), sources(sources) {}

  void open(SourceFile which);
  // Reads `input`, already opened, as the source `which`.
  void open(SourceFile which, std::unique_ptr<ByteSource> input);
  void close();
  void close_and_delete();
  bool at_end() { return reader_->at_end(); }
  FieldReader& reader() { return *reader_; }

  // Reads the next field into `riga` and remembers where the record starts.
  void read_keyword();
  // A test on `riga`: `keyword` is given in lower case and matched ignoring case.
  bool has(std::string_view keyword) const {
    return lower_riga_.find(keyword) != std::string::npos;
  }
  // A test on `riga` that matches letter case exactly.
  bool has_exact(std::string_view text) const { return ctx.riga.find(text) != std::string::npos; }
  // Reads up to two comment fields (fields with a dash) after the keyword field;
  // false when the source ended on one.
  bool skip_comments();

  // Without a cell row (no route length read) every use of it is a run-time failure.
  void require_cell_row() const;
  int32_t last_cell() const;
  // Whether a record position lies inside the cell row: (p + 100) / 50 <= n.
  bool inside_row(int64_t p) const;

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
  // recorded for the record being read, and the parse ends.
  Flow stop_with(int32_t code, Reason reason = Reason::none, std::string text = {});
  // The same with the value the rule refused, in metres (errors 1, 3 and 4).
  Flow stop_refusing(int32_t code, int32_t value);
  // The same for an error that names the record's position.
  Flow stop_at(int32_t code, int32_t position, Reason reason = Reason::none);
  // The same for a cell found occupied: `occupant` is what the cell holds.
  Flow stop_on_cell(int32_t code, int32_t position, int64_t cell, uint8_t occupant);
  // Error 15 at `position`: the rest of the source is skipped.
  Flow leave_with_15(int32_t position, Reason reason = Reason::none);

  SourceLocation record_location() const { return record_; }
  SourceLocation failure_location() const;

  BuildContext& ctx;
  SourceFiles& sources;
  SourceFile current = SourceFile::none;

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

 private:
  // Records `r` for the record being read.
  void record(Recording r);
  Flow stop(Recording r);

  std::unique_ptr<ByteSource> input_;
  std::unique_ptr<FieldReader> reader_;
  std::string lower_riga_;
  SourceLocation record_;
};

Flow parse_line_source(ParseSession& s);
void parse_train_source(ParseSession& s);

}  // namespace scenario
