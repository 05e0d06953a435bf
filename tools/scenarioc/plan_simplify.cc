#include "scenarioc/plan_simplify.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace scenario {
namespace {

// The plan is read in chords of kStride metres; a chord whose metres lie
// farther than kChordShare of the tolerance from it is halved until they do.
constexpr int32_t kStride = 32;
constexpr double kChordShare = 0.25;

struct Vec {
  double x = 0;
  double y = 0;
};

double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

// The directions from a segment's start for which the segment passes within
// the tolerance of every point seen since: between `low` (clockwise bound) and
// `high`. Before the first point farther than the tolerance it is every direction.
class Sleeve {
 public:
  explicit Sleeve(double tolerance) : tolerance_(tolerance) {}
  void reset() { open_ = true; }
  bool admits(Vec w) const {
    return open_ || (cross(low_, w) >= 0 && cross(w, high_) >= 0 && dot(low_, w) > 0);
  }
  // Narrows the cone to the directions that pass within the tolerance of `w`.
  void narrow(Vec w) {
    const double d2 = dot(w, w);
    const double t2 = tolerance_ * tolerance_;
    if (d2 <= t2) return;
    const double along = std::sqrt(d2 - t2);
    const Vec across{-w.y * tolerance_, w.x * tolerance_};
    const Vec low{w.x * along - across.x, w.y * along - across.y};
    const Vec high{w.x * along + across.x, w.y * along + across.y};
    if (open_) {
      low_ = low;
      high_ = high;
      open_ = false;
      return;
    }
    if (cross(low_, low) > 0) low_ = low;
    if (cross(high, high_) > 0) high_ = high;
  }

 private:
  double tolerance_;
  bool open_ = true;
  Vec low_, high_;
};

// Takes points in order and keeps those where a new segment must start.
class Simplifier {
 public:
  Simplifier(PlanPoint first, double tolerance, std::vector<PlanPoint>& out)
      : sleeve_(tolerance), anchor_(first), previous_(first), out_(out) {
    out_.push_back(first);
  }
  void add(const PlanPoint& p) {
    if (!sleeve_.admits(from_anchor(p))) {
      // The previous point ends the segment, and the next one starts there.
      anchor_ = previous_;
      out_.push_back(anchor_);
      sleeve_.reset();
    }
    sleeve_.narrow(from_anchor(p));
    previous_ = p;
  }
  void finish() {
    if (out_.back().metre != previous_.metre) out_.push_back(previous_);
  }

 private:
  Vec from_anchor(const PlanPoint& p) const { return {p.x - anchor_.x, p.y - anchor_.y}; }
  Sleeve sleeve_;
  PlanPoint anchor_, previous_;
  std::vector<PlanPoint>& out_;
};

// Whether every metre between a and b lies within `slack` of the chord a-b.
bool chord_holds(const double* xs, const double* ys, int32_t a, int32_t b, double slack) {
  const double dx = xs[b] - xs[a], dy = ys[b] - ys[a];
  const double length2 = dx * dx + dy * dy;
  const double limit = slack * slack * length2;
  bool holds = true;
  for (int32_t m = a + 1; m < b; ++m) {
    const double px = xs[m] - xs[a], py = ys[m] - ys[a];
    const double across = dx * py - dy * px;
    const double along = dx * px + dy * py;
    holds &= across * across <= limit && along >= 0 && along <= length2;
  }
  return holds;
}

}  // namespace

int32_t last_drawable_metre(const Tracciato& plan) {
  if (!plan.exists()) return -1;
  const size_t metres = static_cast<size_t>(plan.last_metre()) + 1;
  size_t first_empty = metres;
  for (int axis = 0; axis < 2; ++axis) {
    const auto* tags = plan.tag_column(axis);
    const void* empty = std::memchr(tags, static_cast<int>(TrackTag::empty), first_empty);
    if (empty) first_empty = static_cast<const uint8_t*>(empty) - tags;
  }
  return static_cast<int32_t>(first_empty) - 1;
}

PlanPoint plan_point(const Tracciato& plan, int32_t metre, int32_t last) {
  const int32_t m = std::clamp(metre, 0, std::max(last, 0));
  if (last < 0) return {m, 0, 0};
  return {m, plan.value(m, 0), plan.value(m, 1)};
}

std::vector<PlanPoint> simplify_plan(const Tracciato& plan, int32_t last, double tolerance) {
  std::vector<PlanPoint> points;
  if (last < 0) return points;
  const double* xs = plan.value_column(0);
  const double* ys = plan.value_column(1);
  const double slack = tolerance * kChordShare;
  Simplifier simplifier({0, xs[0], ys[0]}, tolerance - slack, points);
  const auto feed = [&](auto& self, int32_t a, int32_t b) -> void {
    if (b - a > 1 && !chord_holds(xs, ys, a, b, slack)) {
      const int32_t middle = a + (b - a) / 2;
      self(self, a, middle);
      self(self, middle, b);
      return;
    }
    simplifier.add({b, xs[b], ys[b]});
  };
  for (int32_t a = 0; a < last; a += kStride) feed(feed, a, std::min(a + kStride, last));
  simplifier.finish();
  return points;
}

PlanPoint point_at_metre(const std::vector<PlanPoint>& polyline, int32_t metre) {
  const auto after = std::lower_bound(polyline.begin(), polyline.end(), metre,
                                      [](const PlanPoint& p, int32_t m) { return p.metre < m; });
  if (after == polyline.begin()) return polyline.front();
  if (after == polyline.end()) return polyline.back();
  const PlanPoint& b = *after;
  const PlanPoint& a = *(after - 1);
  const double t = static_cast<double>(metre - a.metre) / (b.metre - a.metre);
  return {metre, a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

}  // namespace scenario
