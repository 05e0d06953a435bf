// The rows of the slowdown order, computed from a compiled scenario: every
// slowdown of the train file in travel order, between the stations that
// enclose it (or in the station whose zone holds it), after the kilometre
// post passed last before its start, with its prescriptions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/chainage.h"
#include "compiler/scenario_records.h"
#include "documents/order_layout.h"
#include "documents/route_stations.h"

namespace scenario {

// Slowdowns whose gap is at most this are contiguous (prescription D): the
// train cannot take up speed again in one cell.
constexpr int32_t kContiguousGap = 50;

std::vector<OrderRow> slowdown_rows(const BuildContext& ctx,
                                    const std::vector<RouteStation>& stations);

// The whole kilometre of chainage that the train passes last before route
// position `metres` (or at it).
int64_t kilometre_post_before(const Chainage& chainage, int32_t metres);

// "VELMORA CENTRALE - DORSEL": the first and the last station; "xxxxxx"
// stands for a station the train file does not give.
std::string line_name(const std::vector<RouteStation>& stations);

}  // namespace scenario
