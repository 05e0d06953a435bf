// The bytes of the three compiled files that the simulator loads: the track
// plan, the station table and the route cells. The station table and the
// cells are built whole in memory; the track plan, a few megabytes, goes out a
// block at a time.
#pragma once

#include <string>
#include <vector>

#include "base/replace_file.h"
#include "compiler/scenario_records.h"

namespace scenario {

// Every x entry from metre 0 to the last metre, then every y entry, each as a
// tag and the value its tag names, handed to `put` in blocks of at most 60 000
// bytes. A plan that was never created gives no bytes.
void encode_track_plan(const Tracciato& tracciato, const BlockSink& put);
// The same bytes in one string.
std::string encode_track_plan(const Tracciato& tracciato);

// The 87 entries in index order, each 34 bytes plus its text. Throws
// RunTimeFailure for a text longer than 65535 bytes, which its 16-bit length
// cannot say.
std::string encode_station_table(const Tabella& tabella);

// 15 bytes for every cell, cell 0 first.
std::string encode_route_cells(const std::vector<cella>& percorso);

}  // namespace scenario
