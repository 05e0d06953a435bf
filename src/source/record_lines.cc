#include "source/record_lines.h"

#include <cstddef>

namespace scenario {
namespace {

// An empty field is two blanks, whatever its column.
constexpr std::string_view kEmptyField = "  ";

void put_value(std::string& line, const LineColumn& column, const LineValue& value) {
  line.append(static_cast<size_t>(column.blanks), ' ');
  if (std::holds_alternative<EmptyValue>(value)) {
    line += kEmptyField;
    return;
  }
  const std::string text = std::holds_alternative<int64_t>(value)
                               ? std::to_string(std::get<int64_t>(value))
                               : std::string(std::get<std::string_view>(value));
  if (text.size() < static_cast<size_t>(column.width)) {
    line.append(static_cast<size_t>(column.width) - text.size(), ' ');
  }
  line += text;
}

}  // namespace

std::string record_line(const RecordLayout& layout, std::initializer_list<LineValue> values) {
  std::string line(layout.keyword);
  line += ',';
  size_t i = 0;
  for (const LineValue& value : values) {
    if (i > 0 && !layout.blank_separated) line += ',';
    // A value beyond the layout's columns stands after one blank.
    const LineColumn column = i < layout.columns.size() ? layout.columns[i] : LineColumn{1, 0};
    put_value(line, column, value);
    ++i;
  }
  if (layout.blank_separated) line += ' ';
  return line;
}

std::string curve_line(char side, int klass, int64_t start, int64_t length) {
  std::string keyword = "curva";
  keyword += side;
  keyword += std::to_string(klass);
  return record_line({keyword, record_lines::kCurve}, {start, length});
}

}  // namespace scenario
