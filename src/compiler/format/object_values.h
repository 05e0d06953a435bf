// What the fields of a route cell mean, in units and words: the values of the
// object it holds and the values in force over its stretch. The report's
// tooltips and the dump show them beside the raw numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/scenario_records.h"

namespace scenario {

// One value in words: "speed limit", "150 km/h".
struct Fact {
  std::string name;
  std::string value;
};

std::string metres_text(int64_t metres);      // "14800 m"
std::string speed_text(int64_t kmh);          // "150 km/h"
std::string gradient_text(int64_t permille);  // "-8 ‰" (UTF-8)
std::string seconds_text(int64_t seconds);    // "45 s"
// A time of day in seconds as "10:33:00"; beyond a day it keeps counting hours.
std::string clock_text(int64_t seconds);

// The values in force over a cell.
inline int32_t speed_limit_kmh(const cella& c) { return int32_t{c.velocita} * 5; }
inline int32_t gradient_permille(const cella& c) { return int32_t{c.pendenza} - 100; }

// The two speeds of one speed-indicator category packed in a cell value:
// left board in the hundreds, right board in the units, each divided by 5.
struct BoardSpeeds {
  int32_t left = 0;
  int32_t right = 0;
};
BoardSpeeds board_speeds(int16_t packed);

// The signal on one side of the track, from a signal cell.
struct SignalSide {
  int32_t kind = 0;  // 0 = no signal on that side
  int32_t codes[3] = {0, 0, 0};
};
SignalSide signal_side(const cella& c, bool left);

// The object of a cell with its values in units and words. Station marks and
// indication boards name their entry's text when `tabella` is given.
std::vector<Fact> object_facts(const cella& c, const Tabella* tabella);

// The values in force over the cell's stretch: speed limit, gradient,
// adhesion, mountain type and approach mark.
std::vector<Fact> stretch_facts(const cella& c);

// What a station's kind (`genere`) makes of its zone and marks.
std::string station_kind_text(int genere);

}  // namespace scenario
