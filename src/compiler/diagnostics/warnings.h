// Warnings: what the compiler reads differently from what an author most
// likely meant, though no rule refuses it. A warning never changes a compiled
// byte, `codice_errore` or `posizione_errore`; it only tells.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostics/recorded_errors.h"

namespace scenario {

struct ExplanationTrail;

// The classes of warning. Each has a name, which the tools show as [-WNAME]
// and which -Wno-NAME turns off.
enum class WarningClass : uint8_t {
  unknown_keyword,    // a keyword field that names no record kind, followed by values
  ambiguous_keyword,  // a keyword field that names more than one record kind
  missing_value,      // a record took a value from the next line
  extra_fields,       // a line holds more fields than its record takes
  comment_as_data,    // a comment line read as a record or as values
  value_not_stored,   // a value the files cannot hold as written (low bits kept)
  speed_rounded,      // a speed that is not a multiple of 5
  off_grid,           // a position off the 50 m grid, moved by the cell mapping
  encoding,           // a text saved as UTF-8; the files hold Windows-1252
  negative_length,    // a negative route length
  out_of_order,       // positions that go backwards
  overlap,            // curves that overlap
  beyond_route,       // an object beyond the route's end
  overwrite,          // an object that overwrites approach marks or a tunnel light
  profile_start,      // a speed or adhesion profile that leaves cells at 0
  // The timetable set beside the fastest run of the train (compiler/timetable).
  running_time,     // a section scheduled in less time than the train needs
  recovery_margin,  // a section or the run with less recovery margin than recommended
  // What an author seldom means, though every rule accepts it, and the checks
  // across the line and the train file.
  curve_side,           // a curve keyword whose side is read other than spelt
  misspelt_header,      // "[generale]" misspelt, or a header read as a record
  after_end,            // a record after "[fine]"
  digit_group,          // a number written in groups of digits ("52 000")
  kilometres,           // an object's position that reads as kilometres
  implausible_length,   // a curve or slowdown longer than any on a line
  schedule_order,       // a scheduled time earlier than the station's before it
  unscheduled_stop,     // a stop time with no scheduled time
  board_speed,          // a train's speed limit above every category's board speed
  station_in_mountain,  // a station's zone inside a mountain stretch
  slowdown_overlap,     // a slowdown over a station, over another, or lost to a stop mark
  other_line,           // most positions of a file beyond the route's end
};

// Every class with its name, in the order above.
struct WarningClassName {
  WarningClass kind;
  std::string_view name;
};
const std::vector<WarningClassName>& warning_classes();
std::string_view warning_name(WarningClass kind);
std::optional<WarningClass> warning_class_named(std::string_view name);

struct Warning {
  WarningClass kind = WarningClass::unknown_keyword;
  SourceLocation where;
  std::string message;  // what was read and how to fix it
  std::vector<Note> notes;
};

// Keeps a warning; the only writer of `ExplanationTrail::warnings`.
void record_warning(ExplanationTrail& trail, Warning warning);
// Keeps a warning that stands earlier in the sources than the record being
// read, before the warnings that lie after it, so that they stay in order.
void record_warning_in_order(ExplanationTrail& trail, Warning warning);

// A text of a source file as a message quotes it: in double quotes, as UTF-8
// (a source is Windows-1252 unless it is valid UTF-8) with its control
// characters escaped, shortened when long.
std::string quote_text(std::string_view source_text);

}  // namespace scenario
