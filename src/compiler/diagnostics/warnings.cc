#include "compiler/diagnostics/warnings.h"

#include <algorithm>
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
