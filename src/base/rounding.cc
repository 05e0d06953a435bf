#include "base/rounding.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "base/run_time_failure.h"

namespace scenario {
namespace {

template <typename T>
T round_to(double q, const char* type_name) {
  const double r = round_half_even(q);
  if (!(r >= std::numeric_limits<T>::min() && r <= std::numeric_limits<T>::max())) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", r);
    throw RunTimeFailure(std::string("the value ") + text + " does not fit " + type_name);
  }
  return static_cast<T>(r);
}

}  // namespace

// std::nearbyint rounds in the current mode, which is round-to-nearest-even
// unless a program changes it; this one never does.
double round_half_even(double q) { return std::nearbyint(q); }

int32_t round_to_int32(double q) { return round_to<int32_t>(q, "a 32-bit integer"); }
int16_t round_to_int16(double q) { return round_to<int16_t>(q, "a 16-bit integer"); }
uint8_t round_to_uint8(double q) { return round_to<uint8_t>(q, "an 8-bit unsigned integer"); }

int32_t checked32(int64_t v) {
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) {
    throw RunTimeFailure("the result " + std::to_string(v) + " does not fit a 32-bit integer");
  }
  return static_cast<int32_t>(v);
}

}  // namespace scenario
