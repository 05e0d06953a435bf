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

// A curve of the traced plan turns its metres with curvature c, radius 1/|c|;
// metre m is the step from route metre m - 1 to m. Each cell keeps the
// sharpest curve it holds and how many of its metres are curved.
void add_curve(const TracedPlan::CurveRun& run, std::vector<RouteCell>& cells) {
  const double radius = 1 / std::fabs(run.curvature);
  const int64_t from = run.first - 1;  // the stretch [from, to) of route metres it turns
  const int64_t to = run.last;
  const int64_t last_cell = std::min<int64_t>(cell_holding(static_cast<double>(to - 1)),
                                              static_cast<int64_t>(cells.size()) - 1);
  for (int64_t c = cell_holding(static_cast<double>(from)); c <= last_cell; ++c) {
    RouteCell& cell = cells[static_cast<size_t>(c)];
    cell.curved_m += static_cast<double>(std::min(to, cell_end(c)) - std::max(from, cell_start(c)));
    if (cell.curve_radius_m == 0 || radius < cell.curve_radius_m) cell.curve_radius_m = radius;
  }
}

void add_curves(const BuildContext& ctx, std::vector<RouteCell>& cells) {
  for (const TracedPlan::CurveRun& run : ctx.tracciato.curve_runs()) {
    if (run.curvature != 0) add_curve(run, cells);
  }
}

// A slowdown's start cell holds its speed and whole-train flag; its end is
// the next end cell. The second speed, when set, counts if it is the lower.
std::vector<Slowdown> slowdowns_of(const BuildContext& ctx, std::vector<std::string>& notes) {
  std::vector<Slowdown> slowdowns;
  const std::vector<cella>& row = ctx.percorso;
  for (size_t c = 0; c < row.size(); ++c) {
    if (row[c].oggetto != kSlowdownStart) continue;
    Slowdown w;
    w.start_m = static_cast<int32_t>(cell_start(static_cast<int64_t>(c)));
    w.end_m = w.start_m;
    w.speed_kmh = row[c].dato1;
    if (row[c].dato2 > 0) w.speed_kmh = std::min<int32_t>(w.speed_kmh, row[c].dato2);
    w.whole_train = row[c].dato3 != 0;
    for (size_t e = c + 1; e < row.size() && row[e].oggetto != kSlowdownStart; ++e) {
      if (row[e].oggetto == kSlowdownEnd) {
        w.end_m = static_cast<int32_t>(cell_start(static_cast<int64_t>(e)));
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
    s.entry = k;
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
