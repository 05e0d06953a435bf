// The stations of a compiled scenario as the crew documents see them: in
// travel order, with their zones, dwell and scheduled time, and their names
// in capitals (the timetable rows) or in mixed case (the sheet's header, the
// notes).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/scenario_records.h"

namespace scenario {

struct RouteStation {
  int entry = 0;     // its entry of `tabella`
  std::string name;  // as the train file writes it
  int32_t position = 0;
  int32_t zone_from = 0;
  int32_t zone_to = 0;
  int32_t dwell = 0;  // stop time in seconds
  int32_t time = 0;   // scheduled time in seconds of the day; 0 = none
};

// The station entries the train file filled, in ascending order of position
// (the order the train meets them).
std::vector<RouteStation> route_stations(const BuildContext& ctx);

// "VELMORA CENTRALE"; single-byte text (Windows-1252).
std::string capitals(std::string_view name);
// "Velmora Centrale", "Pieve D'Arsena", "Luvigna-Scarpene": each word begins
// with a capital, the other letters are small.
std::string mixed_case(std::string_view name);

}  // namespace scenario
