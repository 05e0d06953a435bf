#include "compiler/timetable/duration_text.h"

namespace scenario::timetable {

std::string duration_text(int64_t seconds) {
  if (seconds < 0) return "-" + duration_text(-seconds);
  if (seconds == 0) return "0 s";
  const int64_t hours = seconds / 3600;
  const int64_t minutes = seconds / 60 % 60;
  const int64_t rest = seconds % 60;
  std::string text;
  const auto add = [&text](int64_t n, const char* unit) {
    text += (text.empty() ? "" : " ") + std::to_string(n) + " " + unit;
  };
  if (hours > 0) add(hours, "h");
  if (minutes > 0 || (hours > 0 && rest > 0)) add(minutes, "min");
  if (rest > 0) add(rest, "s");
  return text;
}

}  // namespace scenario::timetable
