// Every fixture folder compiled and checked by scenarioc, against the golden
// files beside its sources: expected_diagnostics.txt (what compile and check
// print) and expected_compiled.txt (the digests and dumps of what compile
// wrote). A new fixture folder is tested by adding its files.
//
// To write the golden files from the actual output after an intended change:
//   SCENARIO_UPDATE_GOLDEN=1 build/dev/tests/scenario_tests --gtest_filter='*FixtureGolden*'
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "golden_file.h"
#include "test_support.h"
#include "tools/scenarioc/golden/golden_text.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

// Every fixture names its scenario Prova and its train 1.
constexpr const char* kLineFile = "Prova_linea.txt";
constexpr const char* kTrainFile = "Prova_1-.txt";

// The folders of tests/fixtures that hold a source file, sorted.
std::vector<std::string> fixture_names() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fixture_path(""))) {
    if (fs::exists(entry.path() / kLineFile) || fs::exists(entry.path() / kTrainFile)) {
      names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

class FixtureGoldenTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureGoldenTest, MatchesItsGoldenFiles) {
  const fs::path fixture = fixture_path(GetParam());
  TempDir dir;
  copy_fixture(GetParam(), dir.path());
  EXPECT_TRUE(matches_golden(
      fixture / "expected_diagnostics.txt",
      transcript(dir.path(), {"compile", kLineFile, kTrainFile, "-o", "bin", "--color=never"}) +
          transcript(dir.path(), {"check", kLineFile, kTrainFile, "--color=never"})));
  EXPECT_TRUE(matches_golden(
      fixture / "expected_compiled.txt",
      compiled_files_text(dir.path(),
                          {"bin/Prova_linea.dat", "bin/Prova_1.sim", "bin/Prova_1.dat"})));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureGoldenTest, ::testing::ValuesIn(fixture_names()),
                         [](const auto& info) { return info.param; });

TEST(FixtureGoldenFolderTest, FindsTheFixtures) {
  const std::vector<std::string> names = fixture_names();
  EXPECT_NE(std::find(names.begin(), names.end(), "clean"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "missing_line_file"), names.end());
}

}  // namespace
}  // namespace scenario::testing
