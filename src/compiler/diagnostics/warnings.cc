#include "compiler/diagnostics/warnings.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <tuple>
#include <utility>

#include "base/text_encoding.h"
#include "compiler/scenario_records.h"

namespace scenario {

const std::vector<WarningClassName>& warning_classes() {
  static const std::vector<WarningClassName> classes = {
      {WarningClass::unknown_keyword, "unknown-keyword"},
      {WarningClass::ambiguous_keyword, "ambiguous-keyword"},
      {WarningClass::missing_value, "missing-value"},
      {WarningClass::extra_fields, "extra-fields"},
      {WarningClass::comment_as_data, "comment-as-data"},
      {WarningClass::value_not_stored, "value-not-stored"},
      {WarningClass::speed_rounded, "speed-rounded"},
      {WarningClass::off_grid, "off-grid"},
      {WarningClass::encoding, "encoding"},
      {WarningClass::negative_length, "negative-length"},
      {WarningClass::out_of_order, "out-of-order"},
      {WarningClass::overlap, "overlap"},
      {WarningClass::beyond_route, "beyond-route"},
      {WarningClass::overwrite, "overwrite"},
      {WarningClass::profile_start, "profile-start"},
      // The timetable against the fastest run.
      {WarningClass::running_time, "running-time"},
      {WarningClass::recovery_margin, "recovery-margin"},
      {WarningClass::curve_side, "curve-side"},
      {WarningClass::misspelt_header, "misspelt-header"},
      {WarningClass::after_end, "after-end"},
      {WarningClass::digit_group, "digit-group"},
      {WarningClass::kilometres, "kilometres"},
      {WarningClass::implausible_length, "implausible-length"},
      {WarningClass::schedule_order, "schedule-order"},
      {WarningClass::unscheduled_stop, "unscheduled-stop"},
      {WarningClass::board_speed, "board-speed"},
      {WarningClass::station_in_mountain, "station-in-mountain"},
      {WarningClass::slowdown_overlap, "slowdown-overlap"},
      {WarningClass::other_line, "other-line"},
  };
  return classes;
}

std::string_view warning_name(WarningClass kind) {
  for (const WarningClassName& c : warning_classes()) {
    if (c.kind == kind) return c.name;
  }
  return "warning";
}

std::optional<WarningClass> warning_class_named(std::string_view name) {
  for (const WarningClassName& c : warning_classes()) {
    if (c.name == name) return c.kind;
  }
  return std::nullopt;
}

void record_warning(ExplanationTrail& trail, Warning warning) {
  trail.warnings.push_back(std::move(warning));
}

namespace {

// The line file before the train file, a place with no line after every line of its file.
std::tuple<int, int64_t, int32_t> source_order(const SourceLocation& where) {
  const int file = where.file == SourceFile::line ? 0 : where.file == SourceFile::train ? 1 : 2;
  if (where.line <= 0) return {file, INT64_MAX, INT32_MAX};
  return {file, where.line, where.column};
}

}  // namespace

void record_warning_in_order(ExplanationTrail& trail, Warning warning) {
  std::vector<Warning>& warnings = trail.warnings;
  auto at = warnings.end();
  const auto order = source_order(warning.where);
  while (at != warnings.begin() && order < source_order(std::prev(at)->where)) --at;
  warnings.insert(at, std::move(warning));
}

std::string quote_text(std::string_view source_text) {
  constexpr size_t kLongest = 60;
  size_t keep = std::min(source_text.size(), kLongest);
  // A UTF-8 text is cut between two letters.
  if (keep < source_text.size() && is_utf8(source_text)) {
    while (keep > 0 && (static_cast<unsigned char>(source_text[keep]) & 0xC0) == 0x80) --keep;
  }
  const std::string text = escape_controls(utf8_from_native(source_text.substr(0, keep)));
  return "\"" + text + (keep < source_text.size() ? "...\"" : "\"");
}

}  // namespace scenario
