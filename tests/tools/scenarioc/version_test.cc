// The version that scenarioc gives is the project's, and it comes last in every
// JSON object the tool prints, after the fields that earlier versions printed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/json_reader.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

// The text of every JSON Lines object in `text`, one a line.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return lines;
}

TEST(VersionTest, VersionFlagPrintsTheProjectVersion) {
  TempDir dir;
  const ToolRun run = run_scenarioc(dir.path(), {"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "scenarioc " SCENARIO_VERSION "\n");
}

TEST(VersionTest, EveryJsonObjectEndsWithTheVersion) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  std::filesystem::create_directory(dir.path() / "unpaired");
  copy_fixture("missing_line_file", dir.path() / "unpaired");
  const struct {
    std::vector<std::string> args;
    int status;
  } rows[] = {
      {{"compile", "Prova_linea.txt", "Prova_1-.txt", "--json"}, 0},
      {{"check", "Prova_linea.txt", "Prova_1-.txt", "--json"}, 0},
      // A train file without its line file: an object without the compile's fields.
      {{"check", "unpaired", "--json"}, 1},
      {{"dump", "Prova_1.dat", "--json"}, 0},
      {{"dump", "Prova_1.sim", "--json"}, 0},
      {{"dump", "Prova_linea.dat", "--json", "--points"}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args[0] + " " + row.args[1]);
    const ToolRun run = run_scenarioc(dir.path(), row.args);
    EXPECT_EQ(run.status, row.status) << run.err;
    const std::vector<std::string> objects = lines_of(run.out);
    ASSERT_EQ(objects.size(), 1u) << run.out;
    const JsonValue json = parse_json(objects[0]);
    ASSERT_EQ(json.type, JsonValue::Type::object);
    ASSERT_FALSE(json.members.empty());
    EXPECT_EQ(json.members.back().first, "version");
    EXPECT_EQ(json.members.back().second.text, SCENARIO_VERSION);
  }
}

TEST(VersionTest, ReportPageNamesTheVersion) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  const ToolRun run =
      run_scenarioc(dir.path(), {"report", "Prova_linea.txt", "Prova_1-.txt", "-o", "r.html"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(
      read_file(dir.path() / "r.html").find(", compiled by scenarioc " SCENARIO_VERSION "</p>"),
      std::string::npos);
}

}  // namespace
}  // namespace scenario::testing
