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

// The built-in scenario whose general part repeats the longest route length
// 10000 times: each record creates the cell row and the track plan anew, which
// must stay cheap (a 290 KB source once took 16 s).
void BM_CompileRepeatedRouteLength(benchmark::State& state) {
  std::string line = builtin_line_text();
  std::string repeated;
  for (int i = 0; i < 10000; ++i) repeated += "lunghezza percorso, 1000000\r\n";
  line.insert(line.find("\r\n") + 2, repeated);
  const std::string train = builtin_train_text();
  for (auto _ : state) {
    BuildContext ctx;
    CountingSink sink;
    compile_in_memory(ctx, line, train, sink);
    benchmark::DoNotOptimize(sink.bytes);
  }
}
BENCHMARK(BM_CompileRepeatedRouteLength)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
