// The report of `scenarioc report`: the built-in scenario side by side with
// its compile, and generated routes of growing length, whose page must grow
// no faster than the route.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_inputs.h"
#include "compiler/compile.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/output/discarding_sink.h"
#include "scenarioc/report/report_model.h"
#include "scenarioc/report/report_page.h"

namespace scenario::bench {
namespace {

// Compiles without writing a file, as the command does, and draws the page.
size_t report_in_memory(const std::string& line, const std::string& train) {
  Compilation ctx = builtin_compilation();
  DiscardingSink sink;
  compile_in_memory(ctx, line, train, sink);
  MemorySources sources(line, train);
  return render_report_page(build_report_model(ctx, sources)).size();
}

void BM_ReportBuiltin(benchmark::State& state) {
  const std::string line = builtin_line_text();
  const std::string train = builtin_train_text();
  size_t bytes = 0;
  for (auto _ : state) bytes = report_in_memory(line, train);
  state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ReportBuiltin)->Unit(benchmark::kMillisecond);

// Only what the report adds to the compile: the model and the page.
void BM_ReportPageOfCompiledBuiltin(benchmark::State& state) {
  const std::string line = builtin_line_text();
  const std::string train = builtin_train_text();
  Compilation ctx = builtin_compilation();
  CountingSink sink;
  compile_in_memory(ctx, line, train, sink);
  MemorySources sources(line, train);
  size_t bytes = 0;
  for (auto _ : state) bytes = render_report_page(build_report_model(ctx, sources)).size();
  state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ReportPageOfCompiledBuiltin)->Unit(benchmark::kMillisecond);

void BM_ReportLongRoute(benchmark::State& state) {
  const auto length = static_cast<int32_t>(state.range(0));
  const std::string line = long_route_line_text(length);
  const std::string train = long_route_train_text(length);
  size_t bytes = 0;
  for (auto _ : state) bytes = report_in_memory(line, train);
  state.counters["page_bytes"] = static_cast<double>(bytes);
  state.counters["bytes_per_km"] = static_cast<double>(bytes) / (length / 1000.0);
}
BENCHMARK(BM_ReportLongRoute)
    ->Arg(250000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
