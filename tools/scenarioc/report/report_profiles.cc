#include "scenarioc/report/report_profiles.h"

#include <algorithm>

#include "compiler/format/object_values.h"

namespace scenario {
namespace {

constexpr int kFirstCell = 1;  // cell 0 stands before the route's start

int16_t category_value(const cella& c, int category) {
  return category == 0 ? c.dato1 : category == 1 ? c.dato2 : c.dato3;
}

// The speed a board shows for a category, and whether it sets a limit.
struct BoardLimit {
  int32_t speed = 0;
  bool sets_limit = false;
};

BoardLimit board_limit(const cella& c, int category) {
  const BoardSpeeds speeds = board_speeds(category_value(c, category));
  const bool left = speeds.left != 0;
  const int32_t stripes = left ? c.dato4 / 10 : c.dato4 % 10;
  return {left ? speeds.left : speeds.right, stripes == 0};
}

}  // namespace

std::vector<Run> cell_runs(const std::vector<cella>& percorso, int32_t (*value)(const cella&),
                           bool skip_zero) {
  std::vector<Run> runs;
  for (size_t c = kFirstCell; c < percorso.size(); ++c) {
    const int32_t v = value(percorso[c]);
    const int32_t from = cell_start_metres(c);
    if (!runs.empty() && runs.back().value == v && runs.back().to == from) {
      runs.back().to = from + kCellMetres;
    } else {
      runs.push_back({from, from + kCellMetres, v});
    }
  }
  if (skip_zero) std::erase_if(runs, [](const Run& r) { return r.value == 0; });
  return runs;
}

std::vector<Run> board_limit_runs(const std::vector<cella>& percorso, int category,
                                  int32_t row_end) {
  std::vector<Run> runs;
  for (size_t c = kFirstCell; c < percorso.size(); ++c) {
    if (percorso[c].oggetto != kSpeedBoard) continue;
    const BoardLimit limit = board_limit(percorso[c], category);
    if (!limit.sets_limit || limit.speed == 0) continue;
    const int32_t at = cell_start_metres(c);
    if (!runs.empty()) runs.back().to = at;
    runs.push_back({at, row_end, limit.speed});
  }
  return runs;
}

namespace {

// The metres over which two sets of stretches, each in ascending order, hold
// the same value.
int64_t metres_alike(const std::vector<Run>& a, const std::vector<Run>& b) {
  int64_t alike = 0;
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const int32_t from = std::max(a[i].from, b[j].from);
    const int32_t to = std::min(a[i].to, b[j].to);
    if (to > from && a[i].value == b[j].value) alike += to - from;
    if (a[i].to < b[j].to) {
      ++i;
    } else {
      ++j;
    }
  }
  return alike;
}

}  // namespace

int train_board_category(const std::vector<cella>& percorso, int32_t row_end) {
  const std::vector<Run> limit = cell_runs(percorso, speed_limit_kmh, false);
  int best = 0;
  int64_t best_alike = -1;
  for (int category = 0; category < 3; ++category) {
    const int64_t alike = metres_alike(limit, board_limit_runs(percorso, category, row_end));
    if (alike > best_alike) {
      best = category;
      best_alike = alike;
    }
  }
  return best;
}

std::vector<ElevationPoint> elevation_profile(const std::vector<cella>& percorso) {
  std::vector<ElevationPoint> points;
  if (percorso.size() <= kFirstCell) return points;
  int64_t millimetres = 0;
  int32_t previous = gradient_permille(percorso[kFirstCell]);
  points.push_back({0, 0});
  for (size_t c = kFirstCell; c < percorso.size(); ++c) {
    const int32_t g = gradient_permille(percorso[c]);
    if (g != previous) points.push_back({cell_start_metres(c), millimetres});
    previous = g;
    millimetres += int64_t{g} * kCellMetres;  // ‰ over 50 m, in millimetres
  }
  points.push_back({cell_start_metres(percorso.size()), millimetres});
  return points;
}

}  // namespace scenario
