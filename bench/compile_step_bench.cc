// The whole compile step in memory, of the built-in scenario and of the same
// scenario stretched to 1000000 m: parse, trace, post-process, encode; no file
// is read or written, and the encoded bytes are counted, not kept.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_inputs.h"
#include "compiler/compile_step.h"
#include "compiler/scenario_records.h"

namespace scenario::bench {
namespace {

void BM_CompileBuiltinInMemory(benchmark::State& state) {
  const std::string line = builtin_line_text();
  const std::string train = builtin_train_text();
  int64_t written = 0;
  for (auto _ : state) {
    BuildContext ctx;
    CountingSink sink;
    compile_in_memory(ctx, line, train, sink);
    written = static_cast<int64_t>(sink.bytes);
  }
  // Bytes of compiled output per second, to set beside the speed of a copy.
  state.SetBytesProcessed(state.iterations() * written);
}
BENCHMARK(BM_CompileBuiltinInMemory)->Unit(benchmark::kMillisecond);

void BM_CompileLongRouteInMemory(benchmark::State& state) {
  const std::string line = long_builtin_line_text();
  const std::string train = long_builtin_train_text();
  int64_t written = 0;
  for (auto _ : state) {
    BuildContext ctx;
    CountingSink sink;
    compile_in_memory(ctx, line, train, sink);
    written = static_cast<int64_t>(sink.bytes);
  }
  state.SetBytesProcessed(state.iterations() * written);
}
BENCHMARK(BM_CompileLongRouteInMemory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
