// Reads the three compiled files back into the compiler's records, for the
// authoring tool's dump and for tests. Input that no encoder could have written
// throws RunTimeFailure with a message that starts "byte N: ", N being the
// offset where the fault lies; nothing outside the given bytes is read.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "compiler/scenario_records.h"

namespace scenario {

struct DecodedTrackPlan {
  int32_t metri_totali = -1;  // -1: the file held no element
  Tracciato tracciato;        // every entry with the type it was stored with
};

DecodedTrackPlan decode_track_plan(std::string_view bytes);
Tabella decode_station_table(std::string_view bytes);
std::vector<cella> decode_route_cells(std::string_view bytes);

}  // namespace scenario
