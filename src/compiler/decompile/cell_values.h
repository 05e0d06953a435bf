// How the stampers pack a record's values into a cell's fields, read backwards:
// a packed pair `a` × 10 + `b` (signal codes, board stripes) or `a` × 20 + `b` / 5
// (two speeds), split so that the second part is the rest of 0 to 9 or 0 to 99.
#pragma once

#include <cstdint>

namespace scenario {

// Division rounding toward minus infinity, so that the rest is never negative.
inline int32_t floor_div(int32_t a, int32_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

struct PackedPair {
  int32_t first;
  int32_t second;
};

// `packed` = first × 10 + second, second 0 to 9.
inline PackedPair split_tens(int32_t packed) {
  const int32_t first = floor_div(packed, 10);
  return {first, packed - 10 * first};
}

// `packed` = first × 20 + second / 5 with both speeds multiples of 5.
inline PackedPair split_speeds(int32_t packed) {
  const int32_t hundreds = floor_div(packed, 100);
  return {5 * hundreds, 5 * (packed - 100 * hundreds)};
}

}  // namespace scenario
