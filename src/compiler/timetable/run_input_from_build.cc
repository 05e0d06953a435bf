#include "compiler/timetable/run_input_from_build.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/run_time_failure.h"
#include "compiler/plan/traced_plan.h"

namespace scenario::timetable {
namespace {

constexpr int kSpeedUnitKmh = 5;      // a cell holds the speed divided by 5
constexpr int kGradientOffset = 100;  // and the gradient plus 100
// The curve classes turn 0.0001 rad a metre at least; anything below is a
// straight step's rounding.
constexpr double kLeastCurvature = 1e-6;

std::vector<RouteCell> cells_of(const BuildContext& ctx) {
  std::vector<RouteCell> cells(ctx.percorso.size());
  for (size_t c = 0; c < cells.size(); ++c) {
    const cella& from = ctx.percorso[c];
    cells[c].speed_kmh = from.velocita * kSpeedUnitKmh;
    cells[c].gradient_permille = from.pendenza - kGradientOffset;
    cells[c].adhesion = from.aderenza;
  }
  return cells;
}

// Metre m of the plan is the step from m - 1 to m; its turn, the cross product
// of two steps over the first one's square, is the curvature the parser used.
// Each cell keeps the sharpest curve it holds and how many metres of it.
void add_curves(const BuildContext& ctx, std::vector<RouteCell>& cells) {
  const TracedPlan& plan = ctx.tracciato;
  track_steps::Point before{plan.start_entry(0, 0).value, plan.start_entry(0, 1).value};
  track_steps::Point last{plan.start_entry(1, 0).value, plan.start_entry(1, 1).value};
  int32_t metre = 2;
  TracedPlan::Walker walker(plan);
  walker.next(walker.left(), [&](const track_steps::Point& p) {
    const double dx0 = last.x - before.x, dy0 = last.y - before.y;
    const double dx1 = p.x - last.x, dy1 = p.y - last.y;
    const double c = std::fabs((dx0 * dy1 - dy0 * dx1) / (dx0 * dx0 + dy0 * dy0));
    if (c >= kLeastCurvature) {
      const auto cell =
          static_cast<size_t>((metre - 1) / static_cast<int32_t>(kRouteCellMetres) + 1);
      if (cell < cells.size()) {
        RouteCell& rc = cells[cell];
        const double radius = 1 / c;
        if (rc.curve_radius_m == 0 || radius < rc.curve_radius_m) rc.curve_radius_m = radius;
        rc.curved_m += 1;
      }
    }
    before = last;
    last = p;
    ++metre;
  });
}

// A slowdown's start cell holds its speed and whole-train flag; its end is
// the next end cell. The second speed, when set, counts if it is the lower.
std::vector<Slowdown> slowdowns_of(const BuildContext& ctx, std::vector<std::string>& notes) {
  std::vector<Slowdown> slowdowns;
  const std::vector<cella>& row = ctx.percorso;
  for (size_t c = 0; c < row.size(); ++c) {
    if (row[c].oggetto != kSlowdownStart) continue;
    Slowdown w;
    w.start_m = static_cast<int32_t>(cell_start_m(static_cast<int64_t>(c)));
    w.end_m = w.start_m;
    w.speed_kmh = row[c].dato1;
    if (row[c].dato2 > 0) w.speed_kmh = std::min<int32_t>(w.speed_kmh, row[c].dato2);
    w.whole_train = row[c].dato3 != 0;
    for (size_t e = c + 1; e < row.size() && row[e].oggetto != kSlowdownStart; ++e) {
      if (row[e].oggetto == kSlowdownEnd) {
        w.end_m = static_cast<int32_t>(cell_start_m(static_cast<int64_t>(e)));
        break;
      }
    }
    slowdowns.push_back(w);
  }
  for (const SlowdownRecord& r : ctx.trail.rallentamenti) {
    if (!ctx.in_row(r.start_cell) || row[r.start_cell].oggetto != kSlowdownStart) {
      notes.push_back("the slowdown at " + std::to_string(r.x) +
                      " m is not in its start cell any more (a later object took the cell); "
                      "the run leaves it out");
    }
  }
  return slowdowns;
}

// The stations are the entries that a station record of the train source filled.
std::vector<TimetableStation> stations_of(const BuildContext& ctx) {
  std::vector<TimetableStation> stations;
  for (int k = 1; k <= kFirstBoardEntry; ++k) {
    if (ctx.trail.entry_sources[k].file != SourceFile::train) continue;
    const voce& e = ctx.tabella[k];
    TimetableStation s;
    s.name = e.testo;
    s.position_m = e.valore3;
    s.stop_s = e.colonna13;
    s.time_s = e.orario;
    s.timed = e.orario != 0;
    stations.push_back(s);
  }
  return stations;
}

}  // namespace

RunInput run_input_from(const BuildContext& ctx) {
  if (!ctx.has_cell_row()) {
    throw RunTimeFailure("the compile left no route cells: the line source has no route length");
  }
  RunInput in;
  in.cells = cells_of(ctx);
  if (ctx.tracciato.exists()) {
    add_curves(ctx, in.cells);
  } else {
    in.notes.push_back("the compile traced no track plan; the run takes the line as straight");
  }
  in.slowdowns = slowdowns_of(ctx, in.notes);
  in.stations = stations_of(ctx);
  in.cars = ctx.tabella[kEntryTrain].valore3;
  in.braked_weight_percent = ctx.tabella[kEntryTrain].valore1;
  return in;
}

}  // namespace scenario::timetable
