// The steps that trace the track plan, each metre from the two before it: one
// kernel for the plan's table (Tracciato::trace) and for the encoder that
// writes a traced plan without holding it (TracedPlan), so that both give the
// same doubles bit for bit.
#pragma once

#include <cstdint>
#include <utility>

namespace scenario::track_steps {

struct Point {
  double x;
  double y;
};

// One step: `older` holds metre m − 2 and `newer` metre m − 1; metre m takes
// the place of `older`. dx and dy are always the difference of the stored
// values: a straight step (c = 0) adds (dx, dy), a curve step (dx + c·dy, dy − c·dx).
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

// Two steps a turn, the two points trading places, so that the last two
// metres stay in registers without being copied at each step.
template <bool kCurve, class Take>
inline void steps_of(int32_t count, double c, Point& older, Point& newer, Take& take) {
  for (; count >= 2; count -= 2) {
    step<kCurve>(older, newer, c);
    take(older);
    step<kCurve>(newer, older, c);
    take(newer);
  }
  if (count == 1) {
    step<kCurve>(older, newer, c);
    take(older);
    std::swap(older, newer);
  }
}

// Computes `count` metres with curvature `c` (0 for a straight) after the two
// points `older` and `newer`, handing each new point to `take` in order; on
// return `older` and `newer` hold the last two points.
template <class Take>
inline void steps(int32_t count, double c, Point& older, Point& newer, Take&& take) {
  if (c == 0) {
    steps_of<false>(count, 0, older, newer, take);
  } else {
    steps_of<true>(count, c, older, newer, take);
  }
}

}  // namespace scenario::track_steps
