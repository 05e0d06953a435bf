// Durations as a timetable reader writes them: "45 s", "3 min", "4 min 12 s",
// "1 h 5 min 3 s".
#pragma once

#include <cstdint>
#include <string>

namespace scenario::timetable {

// Whole seconds in hours, minutes and seconds, the zero ones at the end left
// out; a negative duration has a minus sign before it.
std::string duration_text(int64_t seconds);

}  // namespace scenario::timetable
