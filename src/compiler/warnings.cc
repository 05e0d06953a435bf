#include "compiler/warnings.h"

#include <utility>

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

void record_warning(BuildContext& ctx, Warning warning) {
  ctx.warnings.push_back(std::move(warning));
}

}  // namespace scenario
