#include "documents/column_text.h"

#include <cstdint>

namespace scenario {

std::string left_aligned(std::string_view text, size_t width) {
  std::string column(text.substr(0, width));
  column.resize(width, ' ');
  return column;
}

std::string right_aligned(std::string_view text, size_t width) {
  std::string column;
  if (text.size() < width) column.assign(width - text.size(), ' ');
  column += text;
  return column;
}

std::string kilometres_text(int64_t metres) {
  const bool negative = metres < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(metres) : metres;
  std::string rest = std::to_string(magnitude % 1000);
  rest.insert(0, 3 - rest.size(), '0');
  return (negative ? "-" : "") + std::to_string(magnitude / 1000) + "." + rest;
}

std::string sheet_time_text(int64_t seconds) {
  if (seconds < 0) return "-" + sheet_time_text(seconds == INT64_MIN ? INT64_MAX : -seconds);
  const int64_t minutes = seconds / 60;
  std::string hours = std::to_string(minutes / 60);
  if (hours.size() < 2) hours.insert(0, 1, '0');
  std::string rest = std::to_string(minutes % 60);
  if (rest.size() < 2) rest.insert(0, 1, '0');
  return hours + "." + rest;
}

std::string number_or_placeholder(std::optional<int64_t> value) {
  return value ? std::to_string(*value) : std::string(kPlaceholder);
}

}  // namespace scenario
