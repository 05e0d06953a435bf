// scenarioc report: one self-contained page and nothing else written, the same
// bytes for the same sources, the errors listed, sources never replaced.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxBuiltinPage = 1 << 20;

size_t occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(ReportCommandTest, TheBuiltInScenarioGivesOneSelfContainedPageAndTheSameBytesTwice) {
  TempDir dir;
  ASSERT_EQ(run_scenarioc(dir.path(), {"emit"}).status, 0);
  const std::vector<std::string> before = list_folder(dir.path());
  const ToolRun first =
      run_scenarioc(dir.path(), {"report", "Velmora_Dorsel_linea.txt", "Velmora_Dorsel_904-.txt"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, "wrote ./Velmora_Dorsel_904_report.html\n");
  EXPECT_EQ(first.err, "");
  // Nothing but the page: no compiled file, no source touched.
  std::vector<std::string> after = before;
  after.push_back("Velmora_Dorsel_904_report.html");
  std::sort(after.begin(), after.end());
  EXPECT_EQ(list_folder(dir.path()), after);

  const std::string page = read_file(dir / "Velmora_Dorsel_904_report.html");
  EXPECT_LE(page.size(), kMaxBuiltinPage);
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  for (const char* outside : {"http:", "https:", "src=", "@import", "url(http", "//fonts"}) {
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  }
  EXPECT_EQ(occurrences(page, "class=\"o k1 "), 124u);  // one glyph per signal
  EXPECT_EQ(occurrences(page, "<tr id=\"r"), 35u);      // one row per station
  EXPECT_NE(page.find("The compiler recorded no error and no warning."), std::string::npos);

  ASSERT_EQ(run_scenarioc(dir.path(), {"report", "Velmora_Dorsel_linea.txt",
                                       "Velmora_Dorsel_904-.txt", "-o", "again.html"})
                .status,
            0);
  EXPECT_EQ(read_file(dir / "again.html"), page);
}

TEST(ReportCommandTest, RecordedErrorsAreReportedAndListedOnThePage) {
  TempDir dir;
  copy_fixture("signal_on_speed_board", dir.path());
  const ToolRun run =
      run_scenarioc(dir.path(), {"report", "Prova_linea.txt", "Prova_1-.txt", "-o", "out/r.html"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(has_line(run.err,
                       "Prova_1-.txt:16:1: error 16: signal at 700 m: cell 15 already holds a "
                       "speed-indicator board"))
      << run.err;
  const std::string page = read_file(dir / "out" / "r.html");
  EXPECT_NE(page.find("Prova_1-.txt:16:1: error 16: signal at 700 m"), std::string::npos);
  EXPECT_NE(page.find("class=\"err error\" id=\"e0\" data-d=\"0\" data-m=\"700\""),
            std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "Prova_1.dat"));
}

TEST(ReportCommandTest, APageWithoutACellRowStillListsWhy) {
  TempDir dir;
  copy_fixture("no_generale", dir.path());
  const ToolRun run = run_scenarioc(dir.path(), {"report", "Prova_linea.txt", "Prova_1-.txt"});
  EXPECT_EQ(run.status, 1);
  const std::string page = read_file(dir / "Prova_1_report.html");
  EXPECT_NE(page.find("error 102"), std::string::npos);
  EXPECT_NE(page.find("</html>"), std::string::npos);
}

TEST(ReportCommandTest, UsageErrorsWriteNothing) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  const std::string source = read_file(dir / "Prova_1-.txt");
  const struct {
    std::vector<std::string> args;
    std::string says;
  } cases[] = {
      {{"report", "Prova_linea.txt"},
       "report takes LINE_FILE TRAIN_FILE or TRACK_PLAN STATION_TABLE CELLS or FOLDER, 1 given"},
      {{"report", "Prova_linea.txt", "Prova_1-.txt", "-o", "Prova_1-.txt"},
       "would replace the source"},
      {{"report", "Prova_linea.txt", "missing_1-.txt"}, "missing_1-.txt"},
      {{"report", "Prova_linea.txt", "Prova_1-.txt", "--json"}, "unknown option '--json'"},
  };
  for (const auto& c : cases) {
    const ToolRun run = run_scenarioc(dir.path(), c.args);
    EXPECT_EQ(run.status, 2) << c.says;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
  EXPECT_EQ(read_file(dir / "Prova_1-.txt"), source);
  EXPECT_EQ(list_folder(dir.path()), (std::vector<std::string>{"Prova_1-.txt", "Prova_linea.txt"}));
}

}  // namespace
}  // namespace scenario::testing
