// The bytes of the three compiled files that the simulator loads: the track
// plan, the station table and the route cells. The station table and the
// cells are built whole in memory; the track plan, a few megabytes, is traced
// and goes out a block at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/replace_file.h"
#include "compiler/scenario_records.h"

namespace scenario {

// Every x entry from metre 0 to the last metre, then every y entry, each as a
// tag and the value its tag names. A plan that was never created gives no bytes.

// A compile's plan: its size, then its bytes handed to `put` in blocks of at
// most 120 000 bytes, each with its offset. The metres are traced once, a block
// at a time, and each block of x values and of y values goes to its place, so
// the plan is never held whole.
uint64_t track_plan_size(const TracedPlan& plan);
void encode_track_plan(const TracedPlan& plan, const PlacedBlockSink& put);
std::string encode_track_plan(const TracedPlan& plan);

// A plan's table (a decoded file), handed to `put` in order in blocks of at
// most 60 000 bytes.
void encode_track_plan(const Tracciato& tracciato, const BlockSink& put);
std::string encode_track_plan(const Tracciato& tracciato);

// The 87 entries in index order, each 34 bytes plus its text. Throws
// RunTimeFailure for a text longer than 65535 bytes, which its 16-bit length
// cannot say.
std::string encode_station_table(const Tabella& tabella);

// 15 bytes for every cell, cell 0 first.
std::string encode_route_cells(const std::vector<cella>& percorso);

}  // namespace scenario
