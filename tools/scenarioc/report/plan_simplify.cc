#include "scenarioc/report/plan_simplify.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "compiler/plan/track_steps.h"

namespace scenario {
namespace {

// The plan is read in chords of kStride metres; a chord whose metres lie
// farther than kChordShare of the tolerance from it is halved until they do.
constexpr int32_t kStride = 32;
constexpr double kChordShare = 0.25;
// The metres read at a time on the way to the next point asked for.
constexpr int32_t kReadBlock = 4096;

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

// Whether every metre between a and b of `window` lies within `slack` of the chord a-b.
bool chord_holds(const Vec* window, int32_t a, int32_t b, double slack) {
  const Vec d{window[b].x - window[a].x, window[b].y - window[a].y};
  const double length2 = dot(d, d);
  const double limit = slack * slack * length2;
  bool holds = true;
  for (int32_t m = a + 1; m < b; ++m) {
    const Vec p{window[m].x - window[a].x, window[m].y - window[a].y};
    const double across = cross(d, p);
    const double along = dot(d, p);
    holds &= across * across <= limit && along >= 0 && along <= length2;
  }
  return holds;
}

// Hands out the points of a plan's metres in order from metre 0: the two
// entries the steps start from, then the traced metres as they are computed.
class MetreReader {
 public:
  explicit MetreReader(const TracedPlan& plan) : plan_(plan), walker_(plan) {}
  // Writes the points of the next `count` metres to `out`; none past the last traced one.
  void read(int32_t count, Vec* out) {
    for (; count > 0 && metre_ < 2; --count, ++metre_) {
      *out++ = {plan_.start_entry(metre_, 0).value, plan_.start_entry(metre_, 1).value};
    }
    walker_.next(count, [&out](const track_steps::Point& p) { *out++ = {p.x, p.y}; });
    metre_ += count;
  }

 private:
  const TracedPlan& plan_;
  TracedPlan::Walker walker_;
  int32_t metre_ = 0;
};

}  // namespace

int32_t last_drawable_metre(const TracedPlan& plan) {
  if (!plan.exists()) return -1;
  const auto holds = [&plan](int32_t metre) {
    return plan.start_entry(metre, 0).tag != TrackTag::empty &&
           plan.start_entry(metre, 1).tag != TrackTag::empty;
  };
  if (!holds(0)) return -1;
  if (plan.last_metre() < 1 || !holds(1)) return 0;
  return plan.last_traced_metre();
}

std::vector<PlanPoint> plan_points(const TracedPlan& plan, const std::vector<int32_t>& metres,
                                   int32_t last) {
  std::vector<std::pair<int32_t, size_t>> wanted;  // metre, index in `metres`
  for (size_t i = 0; i < metres.size(); ++i) {
    wanted.emplace_back(std::clamp(metres[i], 0, last), i);
  }
  std::sort(wanted.begin(), wanted.end());
  std::vector<PlanPoint> points(metres.size());
  MetreReader reader(plan);
  std::vector<Vec> block(kReadBlock);
  Vec point;
  int32_t next = 0;  // the metre `reader` hands out next
  for (const auto& [metre, index] : wanted) {
    while (next <= metre) {
      const int32_t count = std::min(kReadBlock, metre - next + 1);
      reader.read(count, block.data());
      point = block[count - 1];
      next += count;
    }
    points[index] = {metre, point.x, point.y};
  }
  return points;
}

std::vector<PlanPoint> simplify_plan(const TracedPlan& plan, int32_t last, double tolerance) {
  std::vector<PlanPoint> points;
  if (last < 0) return points;
  // Metres a ... a + kStride of the plan, read as the chords move on.
  Vec window[kStride + 1];
  MetreReader reader(plan);
  reader.read(1, window);
  const double slack = tolerance * kChordShare;
  Simplifier simplifier({0, window[0].x, window[0].y}, tolerance - slack, points);
  int32_t a = 0;
  const auto feed = [&](auto& self, int32_t from, int32_t to) -> void {
    if (to - from > 1 && !chord_holds(window, from, to, slack)) {
      const int32_t middle = from + (to - from) / 2;
      self(self, from, middle);
      self(self, middle, to);
      return;
    }
    simplifier.add({a + to, window[to].x, window[to].y});
  };
  while (a < last) {
    const int32_t length = std::min(kStride, last - a);
    reader.read(length, window + 1);
    feed(feed, 0, length);
    window[0] = window[length];
    a += length;
  }
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
