// The post-processing pass: abbattimento markers in front of the signals before
// a slowdown warning board and around and after every slowdown start.
#include "compiler/post_processing.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "base/rounding.h"
#include "compiler/cells.h"
#include "compiler/diagnostics/diagnostics.h"
#include "compiler/diagnostics/recorded_errors.h"

namespace scenario {
namespace {

constexpr int16_t kMarkerValue = 180;
constexpr int32_t kWarningLookBack = 20;    // cells (1000 m) before a warning board
constexpr int32_t kFirstTreatedSignal = 3;  // signals in cells 1 and 2 get no marker
constexpr int16_t kNoWalkSpeed = 110;       // slowdowns this fast or faster get no walk
constexpr int32_t kWalkSpacing = 8;         // cells (400 m) between walk markers
constexpr int32_t kSignalSearchAfterEnd = 12;

constexpr int32_t kErrorSignalBeforeWarning = 11;
constexpr int32_t kErrorLookBackWindow = 12;
constexpr int32_t kErrorWalk = 13;

// One look-back window in front of a slowdown start: applies when the start cell is above
// `only_above`; its candidates are the three cells from `nearest` before the start.
struct LookBackWindow {
  int32_t only_above;
  int32_t nearest;
};
constexpr LookBackWindow kLookBackWindows[] = {{7, 5}, {13, 11}, {20, 18}};

// The slowdown whose warning or start stands in cell `c`, if the parser stamped
// it; the last one stamped there wins.
const SlowdownRecord* find_slowdown(const BuildContext& ctx, int32_t SlowdownRecord::*cell,
                                    int32_t c) {
  const SlowdownRecord* found = nullptr;
  for (const SlowdownRecord& record : ctx.trail.rallentamenti) {
    if (record.*cell == c) found = &record;
  }
  return found;
}

class PostProcessing {
 public:
  explicit PostProcessing(BuildContext& ctx) : ctx_(ctx), n_(ctx.last_cell()) {}

  void run() {
    for (int32_t c = 1; c <= n_ - 2; ++c) {
      const uint8_t kind = ctx_.percorso[c].oggetto;
      if (kind == kSlowdownWarning) {
        treat_warning(c);
      } else if (kind == kSlowdownStart) {
        treat_start(c);
      }
    }
  }

 private:
  bool place_if_free(int32_t i) {
    if (!ctx_.is_free(i)) return false;
    ctx_.place(i, kAbbattimento, slowdown_where_, slowdown_x_);
    ctx_.percorso[i].dato1 = kMarkerValue;
    return true;
  }

  bool lower_marker(int32_t i) {
    cella& target = ctx_.percorso[i];
    if (target.oggetto != kAbbattimento) return false;
    target.dato1 = low16(minimo(kMarkerValue, target.dato1));
    return true;
  }

  // `taken` are the cells the rule found occupied; a note names what holds each.
  void record(int32_t numero, int32_t c, const SlowdownRecord* slowdown,
              std::initializer_list<int32_t> taken, Reason reason = Reason::none) {
    Recording recording;
    recording.numero = numero;
    recording.reason = reason;
    recording.has_position = true;
    recording.posizione = static_cast<int32_t>(cell_end(c));
    recording.cell = c;
    recording.occupant = ctx_.percorso[c].oggetto;
    if (slowdown != nullptr) {
      recording.has_slowdown = true;
      recording.slowdown_x = slowdown->x;
      recording.slowdown_end = static_cast<int32_t>(
          std::clamp<int64_t>(int64_t{slowdown->x} + slowdown->l, INT32_MIN, INT32_MAX));
      recording.where = slowdown->where;
    }
    for (int32_t cell : taken) {
      const Placement* holder = ctx_.in_row(cell) ? ctx_.trail.placement_in(cell) : nullptr;
      if (holder == nullptr) continue;
      recording.notes.push_back({holder->where, "cell " + std::to_string(cell) + " holds " +
                                                    placed_object(ctx_, *holder) +
                                                    ", placed here"});
    }
    record_error(ctx_, std::move(recording));
  }

  // Every signal among the 20 cells before the warning board, nearest first.
  void treat_warning(int32_t c) {
    const SlowdownRecord* slowdown = find_slowdown(ctx_, &SlowdownRecord::warning_cell, c);
    slowdown_where_ = slowdown != nullptr ? slowdown->where : SourceLocation{};
    slowdown_x_ = slowdown != nullptr ? slowdown->x : 0;
    for (int32_t k = 1; k <= kWarningLookBack; ++k) {
      const int32_t s = c - k;
      if (s < kFirstTreatedSignal) return;
      if (ctx_.percorso[s].oggetto == kSignal) mark_in_front_of_signal(s, slowdown);
    }
  }

  // A marker already in front of the signal is lowered only when neither front
  // cell is free for a new one.
  void mark_in_front_of_signal(int32_t s, const SlowdownRecord* slowdown) {
    if (place_if_free(s - 1) || place_if_free(s - 2)) return;
    if (lower_marker(s - 1) || lower_marker(s - 2)) return;
    record(kErrorSignalBeforeWarning, s, slowdown, {s - 1, s - 2});
  }

  // A slowdown start: the three look-back windows, then the walk and the signal after the end.
  void treat_start(int32_t c) {
    const SlowdownRecord* slowdown = find_slowdown(ctx_, &SlowdownRecord::start_cell, c);
    slowdown_where_ = slowdown != nullptr ? slowdown->where : SourceLocation{};
    slowdown_x_ = slowdown != nullptr ? slowdown->x : 0;
    for (const LookBackWindow& window : kLookBackWindows) {
      if (c > window.only_above) mark_look_back(c, window.nearest, slowdown);
    }
    // Without the walk there is no end cell to search from, and the signal after
    // the end only matters for slowdowns below 110: a faster one gets neither.
    if (ctx_.percorso[c].dato1 >= kNoWalkSpeed) return;
    const int32_t e = walk_slowdown(c, slowdown);
    mark_signal_after_end(e, slowdown);
  }

  void mark_look_back(int32_t c, int32_t nearest, const SlowdownRecord* slowdown) {
    for (int32_t i = nearest; i < nearest + 3; ++i) {
      if (place_if_free(c - i)) return;
    }
    record(kErrorLookBackWindow, c, slowdown, {c - nearest, c - nearest - 1, c - nearest - 2});
  }

  // Returns the cell the walk ended on: the slowdown end, or the last cell of the
  // row when no end follows (a zero-length slowdown whose start overwrote its
  // end, or an end cell overwritten by a station mark).
  int32_t walk_slowdown(int32_t c, const SlowdownRecord* slowdown) {
    int32_t g = 0;
    int32_t m = c;
    for (;;) {
      ++m;
      ++g;
      if (g == kWalkSpacing) g = place_walk_marker(m, slowdown);
      if (ctx_.percorso[m].oggetto == kSlowdownEnd) return m;
      if (m == n_) {
        record(kErrorWalk, n_, slowdown, {}, Reason::walk_reached_row_end);
        return m;
      }
    }
  }

  // Returns the new counter: the markers stay 8 cells apart counted from the
  // cell where the last one actually went.
  int32_t place_walk_marker(int32_t m, const SlowdownRecord* slowdown) {
    if (place_if_free(m)) return 0;
    if (place_if_free(m - 1)) return 1;
    if (place_if_free(m + 1)) return -1;
    record(kErrorWalk, m, slowdown, {m, m - 1, m + 1});
    return kWalkSpacing;  // from here the counter only grows: no more markers on this walk
  }

  void mark_signal_after_end(int32_t e, const SlowdownRecord* slowdown) {
    const int32_t last = std::min(e + kSignalSearchAfterEnd, n_);
    for (int32_t h = e; h <= last; ++h) {
      if (ctx_.percorso[h].oggetto != kSignal) continue;
      const int32_t t = h - 1;
      if (t > 0 && !place_if_free(t) && !place_if_free(t - 1)) {
        record(kErrorWalk, e, slowdown, {t, t - 1}, Reason::signal_after_slowdown);
      }
      return;
    }
  }

  BuildContext& ctx_;
  const int32_t n_;
  SourceLocation slowdown_where_;  // the record of the slowdown being treated, for its markers
  int32_t slowdown_x_ = 0;
};

}  // namespace

int32_t minimo(int32_t x, int32_t y) { return x > y ? y : x; }

void run_post_processing(BuildContext& ctx) {
  if (!ctx.has_cell_row()) return;
  PostProcessing(ctx).run();
}

}  // namespace scenario
