// The stampers, which turn one source record each into objects and values of
// the cell row, and `progressive_ordina`, which sorts the kilometric
// references. A stamper checks every cell it needs before its first write, and
// notes each object it places as placed by the record that starts at `where`.
#pragma once

#include <cstdint>

#include "compiler/scenario_records.h"

namespace scenario {

// What a stamper reports: error code 0, or the code and the cell it could not use.
struct StampResult {
  int32_t code = 0;
  int64_t cell = -1;
  uint8_t occupant = 0;
};

struct SpeedBoardValues {
  int32_t posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced;
};

struct SignalValues {
  int32_t posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
};

struct SlowdownValues {
  int32_t x, v, l, f_tt, f_ta, d_v;
};

// Sorts entries 81 to 83 by starting position, largest first, and adds 100 to
// the chainage of every reference whose flag is 1.
void progressive_ordina(BuildContext& ctx);

// Never fails; cells outside the row are left alone.
void memo_montagna(BuildContext& ctx, int32_t inizio, int32_t fine, int32_t tipo,
                   const SourceLocation& where);

// Error 21 when the board's cell is occupied.
StampResult memo_indicatori_v_max(BuildContext& ctx, const SpeedBoardValues& b,
                                  const SourceLocation& where);

// Error 16 when the signal's cell is occupied. Approach marks that would fall
// before cell 0 are left out.
StampResult memo_segnale(BuildContext& ctx, const SignalValues& s, const SourceLocation& where);

// Errors 17, 18, 19 (nothing placed) and 20 (warning, start and end stay).
StampResult memo_rallentamento(BuildContext& ctx, const SlowdownValues& r,
                               const SourceLocation& where);

}  // namespace scenario
