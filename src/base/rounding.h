// Rounding and narrowing: every quotient becomes an integer by rounding half to
// even; sums stored into 8- or 16-bit fields keep their low bits; the named
// rounding conversions and all 32-bit arithmetic fail instead of wrapping.
#pragma once

#include <cstdint>

namespace scenario {

// Half-to-even rounding of a double (2.5 gives 2, 3.5 gives 4, -2.5 gives -2).
double round_half_even(double q);

// Rounding conversions: throw RunTimeFailure when the rounded value does not fit.
int32_t round_to_int32(double q);
int16_t round_to_int16(double q);
uint8_t round_to_uint8(double q);

// Low bits of a computed sum.
inline int16_t low16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }
inline uint8_t low8(int64_t v) { return static_cast<uint8_t>(v); }

// 32-bit signed arithmetic that fails on overflow, as the records' integer
// columns do.
int32_t checked32(int64_t v);
inline int32_t add32(int64_t a, int64_t b) { return checked32(a + b); }
inline int32_t sub32(int64_t a, int64_t b) { return checked32(a - b); }
inline int32_t mul32(int64_t a, int64_t b) { return checked32(a * b); }

}  // namespace scenario
