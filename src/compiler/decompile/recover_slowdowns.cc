// The slowdowns from their start cells: the speed, second speed and whole-train
// flag of the start, the warning board 24 cells before it, the countdown
// markers before the board, and an end cell with the same values after it.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "compiler/cells.h"
#include "compiler/decompile/recovery.h"

namespace scenario {
namespace {

constexpr int32_t kWarningBefore = 1200;  // metres between the warning board and the start
constexpr int32_t kWarningFrom = 1500;    // slowdowns starting beyond this have a warning
constexpr int32_t kWarningCells = 24;     // kWarningBefore in cells
constexpr int32_t kCountdownMarkers = 4;

struct SlowdownCells {
  int16_t v;
  int16_t d_v;
  int16_t f_tt;
  bool operator==(const SlowdownCells&) const = default;
};

SlowdownCells values_in(const Recovery& r, int32_t c) {
  return {r.set.dato1(c), r.set.dato2(c), r.cell(c).dato3};
}

// The first of four countdown markers from `h` down, 1 nearest the board; 0
// when they are not there. `with_second` tells whether they carry the number
// in dato2 too (a slowdown with a second speed).
bool countdown_from(const Recovery& r, int64_t h, const std::vector<bool>& claimed,
                    bool& with_second) {
  if (h - (kCountdownMarkers - 1) < 0 || h > r.n()) return false;
  with_second = r.set.dato2(static_cast<int32_t>(h)) != 0;
  for (int i = 0; i < kCountdownMarkers; ++i) {
    const auto c = static_cast<int32_t>(h - i);
    if (r.cell(c).oggetto != kCountdownMarker || claimed[c] || r.set.dato1(c) != i + 1 ||
        r.set.dato2(c) != (with_second ? i + 1 : 0)) {
      return false;
    }
  }
  return true;
}

// The start position: on the 50 m grid where that gives the cells found, else
// the nearest position that does (a warning board in cell 7, a countdown
// two cells before its board).
bool start_position(int32_t start, bool warning, bool countdown, int64_t h, int32_t& x) {
  const int64_t grid = cell_start(start);
  std::array<int32_t, 51> offsets{};
  offsets[0] = 0;
  for (int i = 1; i <= 25; ++i) {
    offsets[2 * i - 1] = -i;
    offsets[2 * i] = i;
  }
  for (int32_t d : offsets) {
    const int64_t candidate = grid + d;
    if (cell_of(candidate) != start || (candidate > kWarningFrom) != warning) continue;
    if (countdown && cell_before(candidate - kWarningBefore) != h) continue;
    x = static_cast<int32_t>(candidate);
    return true;
  }
  return false;
}

uint64_t key_of(const SlowdownCells& values) {
  return uint64_t{static_cast<uint16_t>(values.v)} << 32 |
         uint64_t{static_cast<uint16_t>(values.d_v)} << 16 | static_cast<uint16_t>(values.f_tt);
}

// The end cells of each set of slowdown values, for the starts taken in
// increasing order: an end goes to the first start before it; a start with no
// end after it takes the last free end before it, or its own cell, when its
// start covered its end (a slowdown shorter than a cell).
class EndCells {
 public:
  explicit EndCells(const Recovery& r) {
    for (int32_t c = 0; c <= r.n(); ++c) {
      if (r.cell(c).oggetto == kSlowdownEnd) ends_[key_of(values_in(r, c))].after.push_back(c);
    }
  }

  int32_t take(const Recovery& r, int32_t start) {
    const auto found = ends_.find(key_of(values_in(r, start)));
    if (found == ends_.end()) return start;
    Ends& ends = found->second;
    while (ends.next < ends.after.size() && ends.after[ends.next] < start) {
      ends.before.push_back(ends.after[ends.next++]);
    }
    if (ends.next < ends.after.size()) return ends.after[ends.next++];
    if (ends.before.empty()) return start;
    const int32_t c = ends.before.back();
    ends.before.pop_back();
    return c;
  }

 private:
  struct Ends {
    std::vector<int32_t> after;  // in increasing order, from `next` on not yet taken
    size_t next = 0;
    std::vector<int32_t> before;  // passed by the starts, not taken
  };
  std::map<uint64_t, Ends> ends_;
};

void recover_slowdown(Recovery& r, int32_t s, std::vector<bool>& claimed, EndCells& ends) {
  r.require_inside_row(s, "a slowdown start");
  const SlowdownCells values = values_in(r, s);
  const int32_t a = s - kWarningCells;
  const bool warning = r.in_row(a) && r.cell(a).oggetto == kSlowdownWarning && !claimed[a] &&
                       r.set.dato1(a) == values.v && r.set.dato2(a) == values.d_v &&
                       r.cell(a).dato3 == 0;
  bool countdown = false;
  bool with_second = false;
  int64_t h = 0;
  if (warning) {
    for (int64_t candidate : {int64_t{a} - 1, int64_t{a} - 2}) {
      // Markers with no number in dato2 belong to a slowdown without a second speed.
      if (countdown_from(r, candidate, claimed, with_second) && (with_second || values.d_v == 0)) {
        countdown = true;
        h = candidate;
        break;
      }
    }
  }
  SlowdownValues v{};
  if (!start_position(s, warning, countdown, h, v.x)) {
    r.fail_at_cell(s, warning ? "a slowdown start whose warning board and countdown markers stand "
                                "where no start position puts them"
                              : "a slowdown start with no warning board 24 cells (1200 m) before "
                                "it, which every slowdown starting beyond 1500 m has");
  }
  const int32_t e = ends.take(r, s);
  v.v = values.v;
  v.d_v = values.d_v;
  // A second speed whose low 16 bits are 0 still numbers the countdown markers.
  if (v.d_v == 0 && countdown && with_second) v.d_v = 65536;
  v.f_tt = values.f_tt;
  v.f_ta = countdown ? 1 : 0;
  v.l = static_cast<int32_t>(cell_start(e) - v.x);
  r.scenario.train.slowdowns.push_back(v);
  for (int32_t c : {s, e}) {
    claimed[c] = true;
    r.explain(c);
  }
  if (warning) {
    claimed[a] = true;
    r.explain(a);
  }
  for (int i = 0; countdown && i < kCountdownMarkers; ++i) {
    claimed[h - i] = true;
    r.explain(h - i);
  }
}

}  // namespace

void recover_slowdowns(Recovery& r) {
  std::vector<bool> claimed(r.set.percorso.size(), false);
  EndCells ends(r);
  for (int32_t c = 0; c <= r.n(); ++c) {
    if (r.cell(c).oggetto == kSlowdownStart) recover_slowdown(r, c, claimed, ends);
  }
}

}  // namespace scenario
