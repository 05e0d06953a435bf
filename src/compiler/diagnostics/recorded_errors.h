// Recorded compile errors: `codice_errore` and `posizione_errore` keep the last
// one, and the build keeps every recording with what the diagnostics need to
// name the source line and explain it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "source/field_reader.h"

namespace scenario {

struct BuildContext;

enum class SourceFile : uint8_t { none, line, train };

// Where a field starts in a source file; lines and columns count from 1.
struct SourceLocation {
  SourceFile file = SourceFile::none;
  int64_t line = 0;
  int32_t column = 0;
};

// A further line of a diagnostic: "note: ..." at a source location (or none).
struct Note {
  SourceLocation where;
  std::string message;
};

// Which of its causes an error was recorded for, where its number has more
// than one; the diagnostics put each into words.
enum class Reason : uint8_t {
  none,                     // the number's usual cause
  earlier_15_stands,        // 15: a stamped record stops the parse, an earlier 15 still set
  station_zone_beyond_row,  // 15: the station's zone ends beyond the cell row
  board_without_entry,      // 10: an 81st indication board has no entry for its text
  station_without_entry,    // 10: every entry down to 1 holds a board text
  walk_reached_row_end,     // 13: the walk along a slowdown met no end
  signal_after_slowdown,    // 13: no room in front of the first signal after a slowdown's end
  curve_without_class,      // 103: `text` is the curve's keyword field
  track_plan_past_limit,    // 103: the track plan would pass metre 1000000
  generale_misspelt,        // 102: `text` is the field most like "[generale]", where it stands
};

struct Recording {
  int32_t numero = 0;
  Reason reason = Reason::none;
  bool has_position = false;
  int32_t posizione = 0;
  SourceLocation where;       // the record being read, or the slowdown's record
  int64_t cell = -1;          // the cell the rule looked at, -1 when none
  uint8_t occupant = 0;       // what that cell held
  bool has_slowdown = false;  // post-processing errors: the slowdown they belong to
  int32_t slowdown_x = 0;
  int32_t slowdown_end = 0;  // its start plus its length
  int32_t value = 0;         // 1, 3, 4: the value refused, in metres; 2: the reference's position
  int32_t chainage = 0;      // 2: the reference's chainage as its record gives it
  std::string text;          // 25: what failed; 103: the curve's keyword field
  std::vector<Note> notes;   // further lines, such as the record that already holds the cell
  bool after_stop = false;   // found by a check after the point where the compile stopped

  std::string record;    // the kind of record being read, in words ("signal"); empty when none
  int32_t limit = 0;     // 15: the last position the rule accepts, in metres
  int32_t row_end = 0;   // 15: where the cell row ends, in metres (50 × its last cell)
  int32_t previous = 0;  // 22: the position of the station before it
  // 25 while a record's values are read: which value failed and what was found.
  std::string value_name;   // as the record's column is named ("tempo")
  int32_t value_index = 0;  // from 1; 0 when the failure is not a value's
  int32_t value_count = 0;  // how many values the record takes
  FieldFailure failure = FieldFailure::none;
  std::string found;        // the field as found, up to its comma or line end
  SourceLocation found_at;  // where it starts
  int32_t values_on_line =
      -1;              // values the record's own line held, when one was taken from the next
  char separator = 0;  // ';' or '\t' when the keyword field holds one: a line not split by commas
};

// The only writer of `codice_errore` and `posizione_errore` (besides the reset
// at the start of a compile): sets both as the rule says and keeps the recording.
void record_error(BuildContext& ctx, Recording recording);

}  // namespace scenario
