// Runs one measured operation once, for valgrind's callgrind to count its
// instructions: `reader` reads a generated source file through the field
// reader, `compile` runs the compile step of the built-in scenario in memory.
// bench/instructions.sh collects only inside the functions named counted_*.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "base/replace_file.h"
#include "bench_inputs.h"
#include "compiler/compile.h"
#include "compiler/scenario_records.h"
#include "source/byte_source.h"
#include "source/field_reader.h"

namespace scenario::bench {
namespace {

constexpr std::size_t kReaderBytes = 2 << 20;

[[gnu::noinline]] int64_t counted_reader_pass(const std::filesystem::path& path) {
  FileByteSource source(path);
  FieldReader reader(source);
  return read_generated_records(reader);
}

[[gnu::noinline]] CountingSink counted_compile_step(Compilation& ctx, const std::string& line,
                                                    const std::string& train) {
  CountingSink sink;
  compile_in_memory(ctx, line, train, sink);
  return sink;
}

// Prints the input size in bytes, which instructions per byte divide by.
int measure_reader() {
  ScratchFolder folder;
  const std::filesystem::path path = folder.path() / "generated_source.txt";
  const std::string text = generated_field_stream(kReaderBytes);
  replace_file(path, text);
  const int64_t sum = counted_reader_pass(path);
  std::printf("bytes %zu sum %lld\n", text.size(), static_cast<long long>(sum));
  return 0;
}

int measure_compile() {
  const std::string line = builtin_line_text();
  const std::string train = builtin_train_text();
  Compilation ctx = builtin_compilation();
  const CountingSink sink = counted_compile_step(ctx, line, train);
  std::printf("files %zu bytes %zu\n", sink.files, sink.bytes);
  return 0;
}

}  // namespace
}  // namespace scenario::bench

int main(int argc, char** argv) {
  try {
    if (argc == 2 && std::strcmp(argv[1], "reader") == 0) return scenario::bench::measure_reader();
    if (argc == 2 && std::strcmp(argv[1], "compile") == 0) {
      return scenario::bench::measure_compile();
    }
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "instruction_counts: %s\n", failure.what());
    return 1;
  }
  std::fprintf(stderr, "usage: instruction_counts reader|compile\n");
  return 2;
}
