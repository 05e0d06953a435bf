// The gradient, speed and adhesion profiles from the cells. A profile record
// holds its value from its cell up to the next record's, and the end of its
// file fills on to cell n − 3; so every run of one value over cells 0 to
// n − 3 is one record, at the run's first cell. The last three cells hold a
// value only when records at the last position inside the row reached them,
// one record for each such cell.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "compiler/cells.h"
#include "compiler/decompile/recovery.h"

namespace scenario {
namespace {

// The records of the profile that `field` holds; `value` turns a cell's byte
// into the value a record gives.
template <typename Value>
std::vector<ProfileStep> profile_steps(const Recovery& r, uint8_t cella::*field, Value value) {
  const int32_t n = r.n();
  std::vector<ProfileStep> steps;
  const int32_t filled_last = n - 3;  // the last cell the end fill always writes
  for (int32_t c = 0; c <= filled_last; ++c) {
    const uint8_t byte = r.cell(c).*field;
    if (c == 0 || byte != r.cell(c - 1).*field)
      steps.push_back({static_cast<int32_t>(cell_end(c)), value(byte)});
  }
  // A record at the last position inside the row lies in cell n − 2: the end
  // fill writes it, and each record more there pushes the fill one cell on.
  const int32_t first_tail = std::max(filled_last + 1, 0);
  int32_t tail = 0;
  for (int32_t c = first_tail; c <= n; ++c) {
    if (r.cell(c).*field != 0) tail = c - first_tail + 1;
  }
  for (int32_t i = 0; i < tail; ++i) {
    steps.push_back({static_cast<int32_t>(cell_end(n - 2)), value(r.cell(first_tail + i).*field)});
  }
  return steps;
}

}  // namespace

void recover_profiles(Recovery& r) {
  r.scenario.line.gradients =
      profile_steps(r, &cella::pendenza, [](uint8_t b) { return int32_t{b} - 100; });
  r.scenario.train.speeds =
      profile_steps(r, &cella::velocita, [](uint8_t b) { return 5 * int32_t{b}; });
  r.scenario.train.adhesion =
      profile_steps(r, &cella::aderenza, [](uint8_t b) { return int32_t{b}; });
}

}  // namespace scenario
