// The post-processing pass over the route cells: the automatic abbattimento
// markers that the route rules require around slowdowns (errors 11 to 13).
#pragma once

#include <cstdint>

#include "compiler/scenario_records.h"

namespace scenario {

// The smaller of two values: `y` when `x` is greater than `y`, otherwise `x`.
int32_t minimo(int32_t x, int32_t y);

// One pass over the cells 1 to n - 2 of `percorso`, in increasing order; every
// marker placed is seen by the cells visited after it. Does nothing when the
// parse left no cell row.
void run_post_processing(BuildContext& ctx);

}  // namespace scenario
