// Tracing the track plan of a route of the greatest length, 1000000 m: the
// parse of its line source, then one step for every metre of the plan as its
// bytes are made (the bytes are counted, not kept).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/run_time_failure.h"
#include "bench_inputs.h"
#include "compiler/compile_options.h"
#include "compiler/format/compiled_files.h"
#include "compiler/parse/parser.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario::bench {
namespace {

void BM_TraceMillionMetreRoute(benchmark::State& state) {
  const std::string line = long_route_line_text(kMaxRouteLength);
  const std::string train = empty_train_text();
  for (auto _ : state) {
    BuildContext ctx;
    ctx.nome = "Lunga";
    ctx.treno = "1";
    MemorySources sources(line, train);
    memorizza_dati(ctx, sources, {.track_plan = true});
    if (ctx.codice_errore != 0 || ctx.tracciato.last_metre() != kMaxRouteLength + kRowBeyondEnd) {
      state.SkipWithError("the long route did not parse cleanly");
      break;
    }
    std::size_t bytes = 0;
    encode_track_plan(ctx.tracciato,
                      [&](uint64_t, std::string_view block) { bytes += block.size(); });
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * (kMaxRouteLength + kRowBeyondEnd));
  state.SetLabel("items are metres of track plan");
}
BENCHMARK(BM_TraceMillionMetreRoute)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
