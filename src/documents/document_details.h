// What the crew documents need and the two source files do not hold: the
// train's category, rank, maximum speed and blocked mass, the timetable's
// times where the train passes, its recovery allowances and footnotes, and
// the text of the notes. The authoring tool reads them from a details file;
// every value is optional.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario {

// The timetable values of one station, named as the train file names it.
// Times are seconds of the day; texts are single-byte (Windows-1252).
struct StationDetails {
  std::string name;
  int64_t line = 0;                  // where the details give it, for the messages about it
  std::optional<int32_t> time;       // where the train passes
  std::optional<int32_t> arrival;    // where it stops, and at the terminus
  std::optional<int32_t> departure;  // where it stops, and at the origin
  int32_t recovery = 0;              // "Rec", tenths of a minute; 0 = none
  std::string mark;                  // after the time, calls a footnote: "(*)"
};

struct DocumentDetails {
  std::optional<std::string> category;   // "IC"
  std::optional<std::string> rank;       // "C"
  std::optional<int32_t> maximum_speed;  // km/h
  std::optional<int32_t> blocked_mass;   // tonnes
  std::vector<StationDetails> stations;
  std::vector<std::string> footnotes;             // rows at the foot of the sheet's last page
  std::optional<std::vector<std::string>> notes;  // the notes' lines; none: generated
};

}  // namespace scenario
