// The decompiler beside the compile it undoes: the built-in scenario's three
// files back to its two sources, with and without the round trip that
// compiles those sources in memory and compares the bytes, in one run with
// BM_CompileBuiltinInMemory (compile_step_bench.cc). The figure to watch is
// the round trip's time over the compile's: at most 3.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_inputs.h"
#include "compiler/compile.h"
#include "compiler/decompile/decompile.h"

namespace scenario::bench {
namespace {

// The built-in scenario compiled once, its files kept for the decompiler.
class BuiltinSet : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    Compilation compiled = builtin_compilation();
    MemorySink sink;
    compile_in_memory(compiled, builtin_line_text(), builtin_train_text(), sink);
    plan = sink.files.at("Velmora_Dorsel_linea.dat");
    table = sink.files.at("Velmora_Dorsel_904.sim");
    cells = sink.files.at("Velmora_Dorsel_904.dat");
  }

  CompiledSet set() const {
    CompiledSet s;
    s.track_plan = plan;
    s.station_table = table;
    s.route_cells = cells;
    return s;
  }

  std::string plan;
  std::string table;
  std::string cells;
};

// What `scenarioc decompile` does between reading the files and writing the
// sources: recover, write the text, compile it and compare.
BENCHMARK_DEFINE_F(BuiltinSet, DecompileWithRoundTrip)(benchmark::State& state) {
  for (auto _ : state) {
    DecompiledScenario d = decompile(set());
    if (!d.identical) state.SkipWithError("the built-in set did not come back byte for byte");
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK_REGISTER_F(BuiltinSet, DecompileWithRoundTrip)->Unit(benchmark::kMillisecond);

// The sources alone, as `scenarioc report` takes them before its own compile.
BENCHMARK_DEFINE_F(BuiltinSet, DecompileSources)(benchmark::State& state) {
  for (auto _ : state) {
    DecompiledScenario d = decompile_sources(set());
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK_REGISTER_F(BuiltinSet, DecompileSources)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
