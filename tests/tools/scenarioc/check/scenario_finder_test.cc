// Finding the scenarios of a collection: every line file at any depth, each
// train file paired with the line file whose name it carries.
#include "scenarioc/check/scenario_finder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

// "LINE | TRAIN | NOME | TRENO" relative to `root`, one a scenario.
std::vector<std::string> described(const FoundScenarios& found, const fs::path& root) {
  std::vector<std::string> rows;
  auto relative = [&](const fs::path& p) {
    return p.empty() ? std::string("-") : p.lexically_relative(root).generic_string();
  };
  for (const ScenarioFiles& s : found.scenarios) {
    rows.push_back(relative(s.line_file) + " | " + relative(s.train_file) + " | " + s.nome + " | " +
                   s.treno);
  }
  return rows;
}

void touch(const fs::path& path) {
  fs::create_directories(path.parent_path());
  write_file(path, "");
}

TEST(ScenarioFinderTest, FindsEveryLineFileAndPairsItsTrainFiles) {
  TempDir dir;
  for (const char* file : {
           "Alfa_linea.txt",
           "Alfa_1-.txt",
           "Alfa_22-.txt",
           "Alfa_1_note.txt",
           "Alfa_1_scheda_treno.txt",
           "Alfa_1.dat",
           "leggimi.txt",
           "sub/deep/Beta_linea.txt",
           "sub/deep/Beta_7-.txt",
           "sub/Alfa_9-.txt",  // no Alfa line file in this folder
           "sub/Gamma_linea.txt",
           "due/A_linea.txt",
           "due/A_B_linea.txt",
           "due/A_B_1-.txt",
           "due/A_2-.txt",
       }) {
    touch(dir / file);
  }
  const FoundScenarios found = find_scenarios({dir.path()});
  EXPECT_TRUE(found.failures.empty());
  EXPECT_EQ(described(found, dir.path()), (std::vector<std::string>{
                                              "Alfa_linea.txt | Alfa_1-.txt | Alfa | 1",
                                              "Alfa_linea.txt | Alfa_22-.txt | Alfa | 22",
                                              "due/A_B_linea.txt | due/A_B_1-.txt | A_B | 1",
                                              "due/A_linea.txt | due/A_2-.txt | A | 2",
                                              "- | sub/Alfa_9-.txt | Alfa | 9",
                                              "sub/Gamma_linea.txt | - | Gamma | ",
                                              "sub/deep/Beta_linea.txt | sub/deep/Beta_7-.txt | "
                                              "Beta | 7",
                                          }));
}

TEST(ScenarioFinderTest, OverlappingFoldersFindAScenarioOnce) {
  TempDir dir;
  touch(dir / "a/X_linea.txt");
  touch(dir / "a/X_1-.txt");
  touch(dir / "b/Y_linea.txt");
  touch(dir / "b/Y_1-.txt");
  const FoundScenarios found = find_scenarios({dir / "b", dir.path(), dir / "a"});
  EXPECT_EQ(described(found, dir.path()),
            (std::vector<std::string>{"a/X_linea.txt | a/X_1-.txt | X | 1",
                                      "b/Y_linea.txt | b/Y_1-.txt | Y | 1"}));
}

TEST(ScenarioFinderTest, ALinkBackUpTheTreeIsNotFollowed) {
  TempDir dir;
  touch(dir / "a/X_linea.txt");
  touch(dir / "a/X_1-.txt");
  fs::create_directory_symlink(dir.path(), dir / "a/loop");
  const FoundScenarios found = find_scenarios({dir.path()});
  EXPECT_EQ(described(found, dir.path()),
            (std::vector<std::string>{"a/X_linea.txt | a/X_1-.txt | X | 1"}));
}

TEST(ScenarioFinderTest, AFolderThatCannotBeReadIsReported) {
  TempDir dir;
  const FoundScenarios found = find_scenarios({dir / "missing"});
  ASSERT_EQ(found.failures.size(), 1u);
  EXPECT_EQ(found.failures[0].rfind("cannot read folder '" + (dir / "missing").string() + "': ", 0),
            0u)
      << found.failures[0];
  EXPECT_TRUE(found.scenarios.empty());
}

}  // namespace
}  // namespace scenario::testing
