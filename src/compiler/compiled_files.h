// The bytes of the three compiled files that the simulator loads: the track
// plan, the station table and the route cells. Each is built whole in memory;
// the compile step hands it to a sink that writes it.
#pragma once

#include <string>
#include <vector>

#include "compiler/scenario_records.h"

namespace scenario {

// Every x entry from metre 0 to the last metre, then every y entry, each as a
// tag and the value its tag names. A plan that was never created gives no bytes.
std::string encode_track_plan(const Tracciato& tracciato);

// The 87 entries in index order, each 34 bytes plus its text. Throws
// RunTimeFailure for a text longer than 65535 bytes, which its 16-bit length
// cannot say.
std::string encode_station_table(const Tabella& tabella);

// 15 bytes for every cell, cell 0 first.
std::string encode_route_cells(const std::vector<cella>& percorso);

}  // namespace scenario
