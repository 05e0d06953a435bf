// Reads the three compiled files back into the compiler's records, for the
// authoring tool's dump and for tests. A file the compiler could not have
// written throws RunTimeFailure with a message that starts "byte N: ", N being
// the offset of the first fault: a file larger than the largest the compiler
// writes (refused before it is decoded), a record or element cut short, or a
// broken invariant that holds for every compiled file (the header values, the
// start and end of the track plan, the kinds of object in the cells). Nothing
// outside the given bytes is read.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "compiler/scenario_records.h"

namespace scenario {

struct DecodedTrackPlan {
  int32_t metri_totali = -1;
  Tracciato tracciato;  // every entry with the type it was stored with
};

DecodedTrackPlan decode_track_plan(std::string_view bytes);
Tabella decode_station_table(std::string_view bytes);
std::vector<cella> decode_route_cells(std::string_view bytes);

}  // namespace scenario
