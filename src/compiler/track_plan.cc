#include "compiler/track_plan.h"

#include <cstddef>

namespace scenario {
namespace {

constexpr uint8_t kReal = static_cast<uint8_t>(TrackTag::real);

struct Columns {
  double* x;
  double* y;
  uint8_t* x_tag;
  uint8_t* y_tag;
};

struct Point {
  double x;
  double y;
};

// One step: `older` holds metre m − 2 and `newer` metre m − 1; metre m takes
// the place of `older`. dx and dy are always the difference of the stored values.
template <bool kCurve>
inline void step(Point& older, const Point& newer, double c) {
  const double dx = newer.x - older.x;
  const double dy = newer.y - older.y;
  if constexpr (kCurve) {
    older.x = newer.x + (dx + c * dy);
    older.y = newer.y + (dy - c * dx);
  } else {
    older.x = newer.x + dx;
    older.y = newer.y + dy;
  }
}

inline void store(const Columns& plan, int32_t m, const Point& point) {
  plan.x[m] = point.x;
  plan.y[m] = point.y;
  plan.x_tag[m] = kReal;
  plan.y_tag[m] = kReal;
}

// Two steps a turn, the two points trading places, so that the last two
// metres stay in registers without being copied at each step.
template <bool kCurve>
void trace_steps(const Columns& plan, int32_t first, int32_t last, double c, Point a, Point b) {
  int32_t m = first;
  for (; m < last; m += 2) {
    step<kCurve>(a, b, c);
    store(plan, m, a);
    step<kCurve>(b, a, c);
    store(plan, m + 1, b);
  }
  if (m == last) {
    step<kCurve>(a, b, c);
    store(plan, m, a);
  }
}

}  // namespace

void Tracciato::create(int32_t metri_totali) {
  metres_ = static_cast<std::size_t>(metri_totali) + 1;
  const std::size_t bytes = metres_ * (2 * sizeof(double) + 2);
  if (!written_ && storage_.size() >= bytes) return;
  storage_ = ZeroedRegion(bytes);
  written_ = false;
}

void Tracciato::destroy() {
  storage_ = ZeroedRegion();
  metres_ = 0;
  written_ = false;
}

void Tracciato::trace(int32_t first, int32_t last, double c) {
  if (first > last) return;
  written_ = true;
  const Columns plan{values(0), values(1), tags(0), tags(1)};
  const Point before{value(first - 2, 0), value(first - 2, 1)};
  const Point last_point{value(first - 1, 0), value(first - 1, 1)};
  if (c == 0) {
    trace_steps<false>(plan, first, last, 0, before, last_point);
  } else {
    trace_steps<true>(plan, first, last, c, before, last_point);
  }
}

}  // namespace scenario
