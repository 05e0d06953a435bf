// The signals from their cells: the codes of both sides packed in tens, the
// kinds of the sides and `rapp` in `dato4`, the time of a left signal of kind 2.
#include <cstdint>
#include <string>

#include "compiler/cells.h"
#include "compiler/decompile/cell_values.h"
#include "compiler/decompile/recovery.h"

namespace scenario {
namespace {

constexpr int32_t kTimedSide = 2;          // only a left signal of this kind keeps its time
constexpr int32_t kShortTimeStored = 101;  // times 1 to 100 are kept as 101

// The time a record gives for the byte a cell keeps: 1 to 100 never stay as they
// are, so a kept 1 to 100 was written 256 higher.
int32_t tempo_of(uint8_t kept) {
  if (kept >= 1 && kept < kShortTimeStored) return kept + 256;
  return kept;
}

void recover_signal(Recovery& r, int32_t c) {
  r.require_inside_row(c, "a signal");
  const cella& cell = r.cell(c);
  SignalValues s{};
  s.posizione = static_cast<int32_t>(cell_start(c));
  // dato4 = rapp × 10 + sx × 3 + dx, with sx and dx 0 to 2.
  const PackedPair sides = split_tens(cell.dato4);
  s.rapp = sides.first;
  s.sx = sides.second / 3;
  s.dx = sides.second % 3;
  const PackedPair first = split_tens(r.set.dato1(c));
  const PackedPair second = split_tens(r.set.dato2(c));
  const PackedPair third = split_tens(cell.dato3);
  s.s1 = first.first;
  s.d1 = first.second;
  s.s2 = second.first;
  s.d2 = second.second;
  s.s3 = third.first;
  s.d3 = third.second;
  if (s.sx != kTimedSide && cell.tempo_segnale != 0) {
    r.fail_at_cell(c, "a signal that keeps the time " + std::to_string(cell.tempo_segnale) +
                          " with no left signal of kind 2, the only one whose time is kept");
  }
  s.tempo = tempo_of(cell.tempo_segnale);
  r.scenario.train.signals.push_back(s);
  r.explain(c);
}

}  // namespace

void recover_signals(Recovery& r) {
  for (int32_t c = 0; c <= r.n(); ++c) {
    if (r.cell(c).oggetto == kSignal) recover_signal(r, c);
  }
}

}  // namespace scenario
