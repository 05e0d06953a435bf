// The decompiler on whole scenarios: the built-in one, generated ones and the
// compile fuzzer's seeds come back byte for byte; a set compiled with
// recorded errors comes back as far as it is consistent, with warnings.
#include "compiler/decompile/decompile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "compiler/compile_harness.h"
#include "compiler/decompile/scenario_generator.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/text_writer.h"
#include "test_support.h"

namespace scenario::testing {
namespace {

std::string joined(const std::vector<DecompileWarning>& warnings) {
  std::string text;
  for (const DecompileWarning& w : warnings) {
    text += w.message + "\n";
    for (const std::string& detail : w.details) text += "  " + detail + "\n";
  }
  return text;
}

CompiledSet set_of(const Compiled& compiled) {
  CompiledSet set;
  set.track_plan = compiled.sink.files.at("Prova_linea.dat");
  set.station_table = compiled.sink.files.at("Prova_1.sim");
  set.route_cells = compiled.sink.files.at("Prova_1.dat");
  return set;
}

TEST(Decompile, BuiltinScenarioComesBackByteForByte) {
  const auto compiled =
      compile_text(text_file_bytes(builtin_line_source()), text_file_bytes(builtin_train_source()));
  ASSERT_TRUE(compiled->ctx.trail.recordings.empty());
  const DecompiledScenario d = decompile(set_of(*compiled));
  EXPECT_TRUE(d.identical) << joined(d.warnings);
  EXPECT_TRUE(d.warnings.empty()) << joined(d.warnings);
  EXPECT_EQ(d.nome, "Prova");
  EXPECT_EQ(d.treno, "1");
}

// The decompiled text, compiled again, gives the same text: it is the one
// text the decompiler chooses for these bytes.
TEST(Decompile, DecompiledTextIsAFixedPoint) {
  const auto compiled =
      compile_text(text_file_bytes(builtin_line_source()), text_file_bytes(builtin_train_source()));
  const DecompiledScenario first = decompile_sources(set_of(*compiled));
  const auto again = compile_text(first.line, first.train);
  const DecompiledScenario second = decompile_sources(set_of(*again));
  EXPECT_EQ(second.line, first.line);
  EXPECT_EQ(second.train, first.train);
}

TEST(Decompile, GeneratedScenariosComeBackByteForByte) {
  int clean = 0;
  int with_errors = 0;
  int with_errors_identical = 0;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    const GeneratedScenario g = generate_scenario(seed);
    const auto compiled = compile_text(g.line, g.train);
    if (!compiled->ctx.result.wrote_files()) continue;
    DecompiledScenario d;
    const std::string failure = failure_message([&] { d = decompile(set_of(*compiled)); });
    if (!failure.empty()) {
      ADD_FAILURE() << "seed " << seed << ": " << failure << "\n" << g.line << "%%\n" << g.train;
      continue;
    }
    if (compiled->ctx.trail.recordings.empty()) {
      ++clean;
      EXPECT_TRUE(d.identical && d.warnings.empty()) << "seed " << seed << "\n"
                                                     << joined(d.warnings) << g.line << "%%\n"
                                                     << g.train;
    } else {
      ++with_errors;
      with_errors_identical += d.identical ? 1 : 0;
    }
  }
  std::cout << "generated: " << clean << " clean, " << with_errors << " with recorded errors ("
            << with_errors_identical << " of them byte-identical)\n";
  EXPECT_GE(clean, 200);
}

// A seed of the compile fuzzer: the line source, "%%", the train source (none
// without the "%%"), compiled as the fuzzer compiles it.
std::unique_ptr<Compiled> compile_seed(const std::string& input) {
  const size_t split = input.find("%%");
  auto compiled = std::make_unique<Compiled>(CompileOptions{});
  compiled->sources = std::make_unique<MemorySources>(
      input.substr(0, split), split == std::string::npos ? "" : input.substr(split + 2));
  if (split == std::string::npos) compiled->sources->remove(SourceFile::train);
  compile(compiled->ctx, *compiled->sources, compiled->sink);
  return compiled;
}

TEST(Decompile, CompileFuzzSeedsComeBackByteForByte) {
  const std::filesystem::path corpus =
      std::filesystem::path(fixture_path("")) / ".." / ".." / "fuzz" / "corpus" / "compile";
  int clean = 0;
  int with_errors = 0;
  int with_errors_identical = 0;
  for (const std::string& name : list_folder(corpus)) {
    const auto compiled = compile_seed(read_file(corpus / name));
    if (!compiled->ctx.result.wrote_files()) continue;
    DecompiledScenario d;
    const std::string failure = failure_message([&] { d = decompile(set_of(*compiled)); });
    if (compiled->ctx.trail.recordings.empty()) {
      ++clean;
      EXPECT_EQ(failure, "") << name;
      EXPECT_TRUE(d.identical && d.warnings.empty()) << name << "\n" << joined(d.warnings);
    } else {
      ++with_errors;
      with_errors_identical += failure.empty() && d.identical ? 1 : 0;
      std::cout << name << ": "
                << (failure.empty() ? (d.identical ? "identical" : "differs") : failure) << "\n";
    }
  }
  std::cout << "compile seeds: " << clean << " clean, " << with_errors << " with recorded errors ("
            << with_errors_identical << " of them byte-identical)\n";
  EXPECT_GE(clean, 5);
}

}  // namespace
}  // namespace scenario::testing
