// The whole compile step in memory, of the built-in scenario and of the same
// scenario stretched to 1000000 m: parse, trace, post-process, encode; no file
// is read or written, and the encoded bytes are counted, not kept. Then
// generated routes of three lengths, in memory and into a fresh folder, whose
// cost should grow with the length and no faster.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench_inputs.h"
#include "compiler/compile.h"
#include "compiler/scenario_records.h"

namespace scenario::bench {
namespace {

// Each iteration compiles into a folder emptied beforehand, outside the timing.
void compile_into_empty_folder(benchmark::State& state, const std::string& line,
                               const std::string& train) {
  ScratchFolder folder;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(folder.path());
    std::filesystem::create_directory(folder.path());
    state.ResumeTiming();
    Compilation ctx = builtin_compilation();
    FolderSink sink(folder.path());
    compile_in_memory(ctx, line, train, sink);
  }
}

// Compiles `line` and `train` in memory on every iteration; bytes of compiled
// output per second, to set beside the speed of a copy.
void compile_in_memory_loop(benchmark::State& state, const std::string& line,
                            const std::string& train) {
  int64_t written = 0;
  for (auto _ : state) {
    Compilation ctx = builtin_compilation();
    CountingSink sink;
    compile_in_memory(ctx, line, train, sink);
    written = static_cast<int64_t>(sink.bytes);
  }
  state.SetBytesProcessed(state.iterations() * written);
}

void BM_CompileBuiltinInMemory(benchmark::State& state) {
  compile_in_memory_loop(state, builtin_line_text(), builtin_train_text());
}
BENCHMARK(BM_CompileBuiltinInMemory)->Unit(benchmark::kMillisecond);

// The compile an author runs: the built-in scenario into an empty folder, the
// yardstick of the report page, which also ends in a file.
void BM_CompileBuiltinToFolder(benchmark::State& state) {
  compile_into_empty_folder(state, builtin_line_text(), builtin_train_text());
}
BENCHMARK(BM_CompileBuiltinToFolder)->Unit(benchmark::kMillisecond);

void BM_CompileLongRouteInMemory(benchmark::State& state) {
  compile_in_memory_loop(state, long_builtin_line_text(), long_builtin_train_text());
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
    Compilation ctx = builtin_compilation();
    CountingSink sink;
    compile_in_memory(ctx, line, train, sink);
    benchmark::DoNotOptimize(sink.bytes);
  }
}
BENCHMARK(BM_CompileRepeatedRouteLength)->Unit(benchmark::kMillisecond);

// Metres compiled a second, the measure that should not change with the length.
void count_metres(benchmark::State& state, int32_t length) {
  state.counters["metres"] =
      benchmark::Counter(length, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_CompileRouteOfLengthInMemory(benchmark::State& state) {
  const auto length = static_cast<int32_t>(state.range(0));
  const std::string line = long_route_line_text(length);
  const std::string train = long_route_train_text(length);
  for (auto _ : state) {
    Compilation ctx = builtin_compilation();
    CountingSink sink;
    compile_in_memory(ctx, line, train, sink);
  }
  count_metres(state, length);
}
BENCHMARK(BM_CompileRouteOfLengthInMemory)
    ->Arg(100000)
    ->Arg(250000)
    ->Arg(300000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// The same, its three files written under new names into an empty folder.
void BM_CompileRouteOfLengthToFolder(benchmark::State& state) {
  const auto length = static_cast<int32_t>(state.range(0));
  const std::string line = long_route_line_text(length);
  const std::string train = long_route_train_text(length);
  compile_into_empty_folder(state, line, train);
  count_metres(state, length);
}
BENCHMARK(BM_CompileRouteOfLengthToFolder)
    ->Arg(100000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
