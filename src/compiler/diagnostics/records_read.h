// What the parse notes of the records it reads for the checks that look
// across the line and the train file once the compile is done: the speeds the
// boards show, the train's speed limits, the stretches of mountains, stations
// and slowdowns, and how many positions of each file lie beyond the route.
#pragma once

#include <cstdint>
#include <vector>

#include "compiler/diagnostics/recorded_errors.h"

namespace scenario {

// A speed-indicator board where a limit takes effect (a side with no stripes):
// the highest speed it shows for any category on such a side.
struct BoardRead {
  int32_t position = 0;
  int32_t highest = 0;
  SourceLocation where;
};

// A train's speed limit from `position` on.
struct SpeedLimitRead {
  int32_t position = 0;
  int32_t speed = 0;
  SourceLocation where;
};

// A mountain stretch, a slowdown or a station's zone, from `from` to `to` in
// metres; `entry` is a station's entry of `tabella`.
struct StretchRead {
  int32_t from = 0;
  int32_t to = 0;
  SourceLocation where;
  int32_t position = 0;  // a station's or a slowdown's own position
  int entry = 0;
  bool told = false;  // a warning about it stands already
};

// The positions of one file's records, for the check of a file written for
// another line.
struct PositionsRead {
  int32_t count = 0;
  int32_t beyond_route = 0;  // past the route's end
  int32_t first_beyond = 0;
  SourceLocation first_beyond_where;
};

struct RecordsRead {
  std::vector<BoardRead> boards;
  std::vector<SpeedLimitRead> speed_limits;
  std::vector<StretchRead> mountains;
  std::vector<StretchRead> stations;
  std::vector<StretchRead> slowdowns;
  PositionsRead line_positions;
  PositionsRead train_positions;
  SourceLocation route_length_where;
};

}  // namespace scenario
