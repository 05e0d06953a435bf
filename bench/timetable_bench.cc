// The running-time calculation over a route of the greatest length, 1000000 m:
// the whole run (the track profile, the braking and accelerating passes, the
// times) and its sections, on the input read from a compile done once; and
// the reading of that input from the compile.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_inputs.h"
#include "compiler/compile.h"
#include "compiler/scenario_records.h"
#include "compiler/timetable/run_input_from_build.h"
#include "compiler/timetable/timetable_sections.h"

namespace scenario::bench {
namespace {

using timetable::RunInput;

// The built-in scenario stretched fourfold: 35 stations, 9 of them timed, stops.
const BuildContext& long_builtin() {
  static const BuildContext* ctx = [] {
    auto* c = new Compilation(BuildIdentity{"Prova", "1", {}});
    CountingSink sink;
    compile_in_memory(*c, long_builtin_line_text(), long_builtin_train_text(), sink);
    return c;
  }();
  return *ctx;
}

// A generated route: a curve every 2 km, a gradient every 5 km, a limit every
// 10 km, a slowdown every 100 km, a station every 14 km passed without a stop.
const BuildContext& long_generated() {
  static const BuildContext* ctx = [] {
    auto* c = new Compilation(BuildIdentity{"Prova", "1", {}});
    CountingSink sink;
    compile_in_memory(*c, long_route_line_text(kMaxRouteLength),
                      long_route_train_text(kMaxRouteLength), sink);
    return c;
  }();
  return *ctx;
}

void run_route(benchmark::State& state, const BuildContext& ctx) {
  const RunInput input = timetable::run_input_from(ctx);
  const timetable::TrainModel model;
  double metres = 0;
  for (auto _ : state) {
    const timetable::TimetableCheck check = timetable::check_timetable(input, model);
    metres = check.run.position_m(check.run.points() - 1) - check.run.origin_m;
    benchmark::DoNotOptimize(check.sections.data());
  }
  state.counters["run_km"] = metres / 1000;
}

void BM_TimetableRunLongBuiltin(benchmark::State& state) { run_route(state, long_builtin()); }
BENCHMARK(BM_TimetableRunLongBuiltin)->Unit(benchmark::kMillisecond);

void BM_TimetableRunLongGenerated(benchmark::State& state) { run_route(state, long_generated()); }
BENCHMARK(BM_TimetableRunLongGenerated)->Unit(benchmark::kMillisecond);

void BM_TimetableInputFromCompile(benchmark::State& state) {
  const BuildContext& ctx = long_builtin();
  for (auto _ : state) {
    const RunInput input = timetable::run_input_from(ctx);
    benchmark::DoNotOptimize(input.cells.data());
  }
}
BENCHMARK(BM_TimetableInputFromCompile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
