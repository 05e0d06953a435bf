// The report page's Documents section: the three documents as they print,
// with the details file beside the train file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_support.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

TEST(ReportDocumentsTest, TheDocumentsAsTheyPrint) {
  TempDir dir;
  const fs::path scenario = fs::path(fixture_path("")).parent_path().parent_path() / "tools" /
                            "scenarioc" / "documents" / "scenarios" / "tratto_breve";
  for (const char* name : {"Prova_linea.txt", "Prova_1-.txt", "Prova_1_details.json"}) {
    fs::copy_file(scenario / name, dir / name);
  }
  ASSERT_EQ(run_scenarioc(dir.path(), {"report", "Prova_linea.txt", "Prova_1-.txt", "-o", "r.html"})
                .status,
            0);
  const std::string page = read_file(dir / "r.html");
  EXPECT_NE(page.find("<section id=\"documents\"><h2>Documents"), std::string::npos);
  EXPECT_NE(page.find("with Prova_1_details.json"), std::string::npos);
  // The sheet as it prints, its rows and frames escaped into the page.
  EXPECT_NE(page.find(" |     |     |  21.000  |     | BORGO NUOVO                | 10.47 - 10.50  "
                      "| 1.5 |"),
            std::string::npos);
  EXPECT_NE(page.find("ORDINE DI RALLENTAMENTO"), std::string::npos);
  EXPECT_NE(page.find("Fermate: Borgo Nuovo (10.47 - 10.50)."), std::string::npos);
}

TEST(ReportDocumentsTest, WithoutACellRowThereAreNone) {
  TempDir dir;
  copy_fixture("route_too_long", dir.path());
  run_scenarioc(dir.path(), {"report", "Prova_linea.txt", "Prova_1-.txt", "-o", "r.html"});
  const std::string page = read_file(dir / "r.html");
  EXPECT_NE(page.find("The compile left no cell row, so there are no documents to show."),
            std::string::npos);
}

}  // namespace
}  // namespace scenario::testing
