// The field-stream reader on a large generated source: from a file, as the
// parser reads it, and from memory, without the system calls.
#include <benchmark/benchmark.h>

#include <string>

#include "base/replace_file.h"
#include "bench_inputs.h"
#include "source/byte_source.h"
#include "source/field_reader.h"

namespace scenario::bench {
namespace {

constexpr std::size_t kStreamBytes = 8 << 20;

// Reads `text` whole in each iteration from the source `open_source` gives.
template <typename OpenSource>
void read_each_iteration(benchmark::State& state, const std::string& text, OpenSource open_source) {
  for (auto _ : state) {
    auto source = open_source();
    FieldReader reader(source);
    benchmark::DoNotOptimize(read_generated_records(reader));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_FieldReaderFile(benchmark::State& state) {
  ScratchFolder folder;
  const std::filesystem::path path = folder.path() / "generated_source.txt";
  const std::string text = generated_field_stream(kStreamBytes);
  replace_file(path, text);
  read_each_iteration(state, text, [&] { return FileByteSource(path); });
}
BENCHMARK(BM_FieldReaderFile)->Unit(benchmark::kMillisecond);

void BM_FieldReaderMemory(benchmark::State& state) {
  const std::string text = generated_field_stream(kStreamBytes);
  read_each_iteration(state, text, [&] { return MemoryByteSource(text); });
}
BENCHMARK(BM_FieldReaderMemory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
