// The values along the route that the report draws as profiles: stretches of
// one speed limit, gradient, adhesion or mountain type, the limits that the
// speed-indicator boards set, and the elevation integrated from the gradients.
#pragma once

#include <cstdint>
#include <vector>

#include "compiler/scenario_records.h"
#include "scenarioc/report/report_model.h"

namespace scenario {

// The stretches of equal value over cells 1 to n, each cell standing for
// (c - 1) × 50 to c × 50; with `skip_zero` stretches of value 0 are left out.
std::vector<Run> cell_runs(const std::vector<cella>& percorso, int32_t (*value)(const cella&),
                           bool skip_zero);

// The limit of one category (0 = A, 1 = B, 2 = C) from each board without
// stripes, the board that sets it, to the next one; announcing boards (1 or 2
// stripes) set nothing. The left board counts, the right one where the left
// side is empty.
std::vector<Run> board_limit_runs(const std::vector<cella>& percorso, int category,
                                  int32_t row_end);

// The category of boards (0 = A, 1 = B, 2 = C) that the train's own speed
// limits follow: the one whose limits equal the train's over the most metres,
// the lower category on a tie.
int train_board_category(const std::vector<cella>& percorso, int32_t row_end);

// The elevation at the start of cell 1, at every change of gradient and at
// the end of cell n, each cell rising by its gradient over 50 m.
std::vector<ElevationPoint> elevation_profile(const std::vector<cella>& percorso);

}  // namespace scenario
