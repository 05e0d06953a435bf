// The built-in scenario's three compiled files, compiled in memory as the build
// compiles them, against Velmora_Dorsel_compiled.txt: the SHA-256 of each
// file's exact bytes and what `scenarioc dump` shows of it.
//
// To write the golden file from the actual files after an intended change:
//   SCENARIO_UPDATE_GOLDEN=1 build/dev/tests/scenario_tests --gtest_filter='BuiltinCompiled*'
#include <gtest/gtest.h>

#include "compiler/compile.h"
#include "compiler/compiled_file_sink.h"
#include "golden_file.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "test_support.h"
#include "tools/scenarioc/golden/golden_text.h"

namespace scenario::testing {
namespace {

TEST(BuiltinCompiledTest, MatchesItsGoldenFile) {
  Compilation compilation(builtin_identity());
  MemorySources sources(text_file_bytes(builtin_line_source()),
                        text_file_bytes(builtin_train_source()));
  MemorySink sink;
  compile(compilation, sources, sink);
  TempDir dir;
  for (const auto& [name, bytes] : sink.files) write_file(dir / name, bytes);
  EXPECT_TRUE(matches_golden(
      tests_path("tools/scenarioc/golden/Velmora_Dorsel_compiled.txt"),
      compiled_files_text(dir.path(), {"Velmora_Dorsel_linea.dat", "Velmora_Dorsel_904.sim",
                                       "Velmora_Dorsel_904.dat"})));
}

}  // namespace
}  // namespace scenario::testing
