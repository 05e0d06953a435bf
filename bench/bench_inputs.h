// What the benchmarks work on: the built-in scenario as source text, a long
// generated route, a large generated field stream, a scratch folder and a
// sink that counts the compiled bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "compiler/compile.h"
#include "compiler/scenario_records.h"
#include "source/field_reader.h"

namespace scenario::bench {

std::string builtin_line_text();
std::string builtin_train_text();

// Takes the compiled files' blocks and keeps only their size, so that a
// measure of the compile step holds no copy of what it made: keeping the 5 MB
// track plan costs a copy, which callgrind counts at one instruction a byte
// (a `rep movsb`) while the hardware does it at memory speed.
class CountingSink : public CompiledFileSink {
 public:
  using CompiledFileSink::write_file;
  void write_file(const std::string&, const ContentWriter& content) override {
    ++files;
    content([this](std::string_view block) { bytes += block.size(); });
  }
  void write_file(const std::string&, const PlacedContent& content) override {
    ++files;
    content.write([this](uint64_t, std::string_view block) { bytes += block.size(); });
  }
  std::size_t files = 0;
  std::size_t bytes = 0;
};

// A compilation not yet run, named as the build names its scenario.
Compilation builtin_compilation();

// The compile with the sources and the compiled files in memory, into a fresh
// compilation. Throws RunTimeFailure when the compile writes no file or
// records an error, so that no benchmark times a compile that went wrong.
void compile_in_memory(Compilation& compiled, const std::string& line, const std::string& train,
                       CompiledFileSink& sink);

// A line source of `length` metres with a curve every 2 km, turning left and
// right in turn through every class, and a gradient record every 5 km.
std::string long_route_line_text(int32_t length);

// The built-in scenario stretched to the greatest route length, 1000000 m, as
// bench/make_long_route.sh makes it: every route position times four.
std::string long_builtin_line_text();
std::string long_builtin_train_text();

// A train source with no records, for compiles that only need the line.
std::string empty_train_text();

// A train source for `long_route_line_text(length)` whose objects grow with
// the length: a station every 14 km (at most 71 on 1000000 m, within the
// table), a signal every 2 km, a speed limit every
// 10 km and a slowdown every 100 km.
std::string long_route_train_text(int32_t length);

// About `bytes` of source text in the writer's layout: signal, gradient and
// indication-board records in turn.
std::string generated_field_stream(std::size_t bytes);

// Reads a generated field stream record by record, as the parser would; returns
// a sum of what it read, so that no read can be left out.
int64_t read_generated_records(FieldReader& reader);

// A folder of its own under the system's temporary folder, removed with all it
// holds when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace scenario::bench
