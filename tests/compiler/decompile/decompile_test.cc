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

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
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
  ASSERT_TRUE(compiled->ctx.recordings.empty());
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
    if (!compiled->result.wrote_files()) continue;
    DecompiledScenario d;
    const std::string failure = failure_message([&] { d = decompile(set_of(*compiled)); });
    if (!failure.empty()) {
      ADD_FAILURE() << "seed " << seed << ": " << failure << "\n" << g.line << "%%\n" << g.train;
      continue;
    }
    if (compiled->ctx.recordings.empty()) {
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

}  // namespace
}  // namespace scenario::testing
