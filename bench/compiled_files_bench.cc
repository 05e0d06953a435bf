// The three compiled files of the built-in scenario: encoding each in memory,
// and writing all three into a folder under the replace-file rule.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "base/file_naming.h"
#include "bench_inputs.h"
#include "compiler/compile.h"
#include "compiler/format/compiled_files.h"
#include "compiler/scenario_records.h"

namespace scenario::bench {
namespace {

// The built-in scenario compiled once per benchmark, its tables kept for the
// encoders.
class CompiledBuiltin : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    ctx = std::make_unique<Compilation>(builtin_compilation());
    MemorySink sink;
    compile_in_memory(*ctx, builtin_line_text(), builtin_train_text(), sink);
  }
  void TearDown(const benchmark::State&) override { ctx.reset(); }

  template <typename Encode>
  static void encode_each_iteration(benchmark::State& state, Encode encode) {
    int64_t size = 0;
    for (auto _ : state) {
      std::string bytes = encode();
      size = static_cast<int64_t>(bytes.size());
      benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * size);
  }

  std::unique_ptr<Compilation> ctx;
};

BENCHMARK_DEFINE_F(CompiledBuiltin, EncodeTrackPlan)(benchmark::State& state) {
  encode_each_iteration(state, [&] { return encode_track_plan(ctx->tracciato); });
}
BENCHMARK_REGISTER_F(CompiledBuiltin, EncodeTrackPlan)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(CompiledBuiltin, EncodeStationTable)(benchmark::State& state) {
  encode_each_iteration(state, [&] { return encode_station_table(ctx->tabella); });
}
BENCHMARK_REGISTER_F(CompiledBuiltin, EncodeStationTable)->Unit(benchmark::kMicrosecond);

BENCHMARK_DEFINE_F(CompiledBuiltin, EncodeRouteCells)(benchmark::State& state) {
  encode_each_iteration(state, [&] { return encode_route_cells(ctx->percorso); });
}
BENCHMARK_REGISTER_F(CompiledBuiltin, EncodeRouteCells)->Unit(benchmark::kMicrosecond);

// Encodes the three files and writes them into `folder` as the build does.
int64_t write_compiled_files(const BuildContext& ctx, const std::filesystem::path& folder) {
  FolderSink sink(folder);
  const std::string plan = encode_track_plan(ctx.tracciato);
  const std::string table = encode_station_table(ctx.tabella);
  const std::string cells = encode_route_cells(ctx.percorso);
  sink.write_file(track_plan_name(ctx.nome), plan);
  sink.write_file(station_table_name(ctx.nome, ctx.treno), table);
  sink.write_file(route_cells_name(ctx.nome, ctx.treno), cells);
  return static_cast<int64_t>(plan.size() + table.size() + cells.size());
}

// The build in a fresh folder: the names are new, so nothing waits for the disk.
BENCHMARK_DEFINE_F(CompiledBuiltin, WriteCompiledFilesToNewNames)(benchmark::State& state) {
  ScratchFolder folder;
  int64_t size = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(folder.path());
    std::filesystem::create_directory(folder.path());
    state.ResumeTiming();
    size = write_compiled_files(*ctx, folder.path());
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK_REGISTER_F(CompiledBuiltin, WriteCompiledFilesToNewNames)->Unit(benchmark::kMillisecond);

// A build again in the same folder: each file replaces one of the run before
// and is flushed to the disk before it takes the name.
BENCHMARK_DEFINE_F(CompiledBuiltin, ReplaceCompiledFiles)(benchmark::State& state) {
  ScratchFolder folder;
  write_compiled_files(*ctx, folder.path());
  int64_t size = 0;
  for (auto _ : state) size = write_compiled_files(*ctx, folder.path());
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK_REGISTER_F(CompiledBuiltin, ReplaceCompiledFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
