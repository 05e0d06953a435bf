// The timetable rows of the train sheet, computed from a compiled scenario:
// every station with its time, and a row wherever the train's speed limit
// changes, named for what stands there (a station, an indication board, the
// protection signal of a station, a kilometre post) or for its chainage.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/scenario_records.h"
#include "documents/document_details.h"
#include "documents/route_stations.h"
#include "documents/sheet_layout.h"

namespace scenario {

// A speed limit that changes this near a station goes on the station's row,
// this near a kilometre post or a protection signal on theirs.
constexpr int32_t kSameRowDistance = 50;
// An indication board names a change this far away: a board stands at the
// place it names or a little before it.
constexpr int32_t kBoardDistance = 100;

enum class StationRole { origin, intermediate, terminus };
StationRole role_of(size_t index, size_t count);

// The entry of the details for a station; null when none.
const StationDetails* details_of(const DocumentDetails& details, const RouteStation& station);

// The time column of a station: the details' times where they give them,
// else the train file's (a stop's arrival is its departure less its dwell).
TimeColumn station_time(const RouteStation& station, StationRole role,
                        const StationDetails* details);

// An indication board's text as a row names it, with the chainage its text
// gives: "(Km 345+557)" is "Km 345.557", "(Torrente) (Varsella) (Km 314+347)"
// is "Torrente Varsella"; other text stays as it is, at `chainage`.
struct BoardName {
  std::string text;
  int64_t chainage = 0;
};
BoardName board_name(std::string_view text, int64_t chainage);

std::vector<SheetRow> train_sheet_rows(const BuildContext& ctx,
                                       const std::vector<RouteStation>& stations,
                                       const DocumentDetails& details);

}  // namespace scenario
