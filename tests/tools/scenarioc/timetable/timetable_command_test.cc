// scenarioc timetable: the sections of a timetable beside the fastest run, as
// a table, CSV or JSON; exit status 1 when a section cannot be kept; the
// train-model file given or found beside the train file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/json_reader.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

const std::vector<std::string> kBuiltin = {"timetable", "Velmora_Dorsel_linea.txt",
                                           "Velmora_Dorsel_904-.txt"};
const std::vector<std::string> kProva = {"timetable", "Prova_linea.txt", "Prova_1-.txt"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

class TimetableCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(run_scenarioc(dir.path(), {"emit"}).status, 0); }
  TempDir dir;
};

TEST_F(TimetableCommandTest, TheBuiltInTimetableCanBeKeptInEveryForm) {
  const ToolRun table = run_scenarioc(dir.path(), kBuiltin);
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_EQ(table.err, "");
  const std::vector<std::string> rows = lines_of(table.out);
  ASSERT_EQ(rows.size(), 10u) << table.out;  // the heading, 8 sections, the totals
  EXPECT_EQ(rows[0].rfind("From", 0), 0u);
  EXPECT_EQ(rows[1].rfind("VELMORA CENTRALE  PIEVE D'ARSENA", 0), 0u) << rows[1];
  EXPECT_EQ(rows[9].rfind("Total", 0), 0u);
  for (size_t k = 1; k < rows.size(); ++k) {
    EXPECT_EQ(rows[k].substr(rows[k].size() - 6), "  kept") << rows[k];
    EXPECT_EQ(rows[k].find("cannot"), std::string::npos) << rows[k];
  }

  const ToolRun csv = run_scenarioc(dir.path(), with(kBuiltin, {"--csv"}));
  ASSERT_EQ(csv.status, 0) << csv.err;
  const std::vector<std::string> records = lines_of(csv.out);
  ASSERT_EQ(records.size(), 9u);
  EXPECT_EQ(records[0], "from,to,distance_m,scheduled_s,minimum_s,margin_s,margin_percent,verdict");
  EXPECT_EQ(records[1].rfind("VELMORA CENTRALE,PIEVE D'ARSENA,37650,1320,", 0), 0u) << records[1];

  const ToolRun json = run_scenarioc(dir.path(), with(kBuiltin, {"--json"}));
  ASSERT_EQ(json.status, 0) << json.err;
  const JsonValue document = parse_json(json.out);
  ASSERT_EQ(document.size(), 3u);
  EXPECT_EQ(document.members[2].first, "version");
  const JsonValue& sections = document["sections"];
  ASSERT_EQ(sections.size(), 8u);
  const std::vector<std::string> fields = {"from",        "to",        "distance_m",
                                           "scheduled_s", "minimum_s", "margin_s"};
  for (const JsonValue& s : sections.items) {
    ASSERT_EQ(s.size(), fields.size());
    for (size_t k = 0; k < fields.size(); ++k) EXPECT_EQ(s.members[k].first, fields[k]);
    EXPECT_NEAR(s["scheduled_s"].number - s["minimum_s"].number, s["margin_s"].number, 0.11);
  }
  EXPECT_EQ(sections[5]["from"].text, "VALDENZA");
  EXPECT_EQ(sections[5]["distance_m"].integer(), 25700);
  // The run at every 50 m from the origin's departure, its time rising.
  const JsonValue& run = document["run"];
  ASSERT_GT(run.size(), 4000u);
  EXPECT_EQ(run[0]["time_s"].number, 0);
  EXPECT_EQ(run[0]["speed_kmh"].number, 0);
  for (size_t k = 1; k < run.size(); ++k) {
    ASSERT_EQ(run[k]["position_m"].integer() - run[k - 1]["position_m"].integer(), 50) << k;
    ASSERT_GT(run[k]["time_s"].number, run[k - 1]["time_s"].number) << k;
  }
}

TEST_F(TimetableCommandTest, ASectionThatCannotBeKeptEndsWithStatusOne) {
  copy_fixture("timetable_cannot_be_kept", dir.path());
  const ToolRun run = run_scenarioc(dir.path(), kProva);
  EXPECT_EQ(run.status, 1) << run.err;
  const std::vector<std::string> rows = lines_of(run.out);
  ASSERT_EQ(rows.size(), 3u) << run.out;
  EXPECT_EQ(rows[1].rfind("ORIGINE  ALTRA-STAZIONE", 0), 0u) << rows[1];
  EXPECT_EQ(rows[1].substr(rows[1].size() - 14), "cannot be kept");
  EXPECT_EQ(rows[2].substr(rows[2].size() - 14), "cannot be kept");
  EXPECT_EQ(run_scenarioc(dir.path(), with(kProva, {"--json"})).status, 1);
}

TEST_F(TimetableCommandTest, TheTrainModelComesFromItsFile) {
  copy_fixture("timetable_cannot_be_kept", dir.path());
  // A train that needs less time: the model given, or the one beside the train file.
  write_file(dir / "fast.txt",
             "# more power, a lighter train\npower_kw = 20000\ncar_mass_t = 20\n"
             "max_tractive_effort_kn = 900\n");
  const ToolRun defaults = run_scenarioc(dir.path(), with(kProva, {"--csv"}));
  const ToolRun given = run_scenarioc(dir.path(), with(kProva, {"--csv", "--model", "fast.txt"}));
  ASSERT_EQ(given.status, 1) << given.err;
  EXPECT_NE(given.out, defaults.out);
  EXPECT_EQ(given.out.rfind("from,to,", 0), 0u);
  write_file(dir / "Prova_1_model.txt", read_file(dir / "fast.txt"));
  EXPECT_EQ(run_scenarioc(dir.path(), with(kProva, {"--csv"})).out, given.out);

  write_file(dir / "bad.txt", "power_kw = 6400\nspeed = 200\n");
  const ToolRun bad = run_scenarioc(dir.path(), with(kProva, {"--model", "bad.txt"}));
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err.rfind("scenarioc: bad.txt:2: unknown value 'speed'", 0), 0u) << bad.err;
  // A bad model beside the train file stops compile too, naming it.
  write_file(dir / "Prova_1_model.txt", "car_mass_t = -3\n");
  const ToolRun compile = run_scenarioc(dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt"});
  EXPECT_EQ(compile.status, 2);
  EXPECT_NE(compile.err.find("Prova_1_model.txt:1: car_mass_t is -3"), std::string::npos)
      << compile.err;
}

TEST_F(TimetableCommandTest, RefusesWhatItCannotRun) {
  const ToolRun both = run_scenarioc(dir.path(), with(kBuiltin, {"--json", "--csv"}));
  EXPECT_EQ(both.status, 2);
  EXPECT_NE(both.err.find("--json and --csv cannot be given together"), std::string::npos);
  copy_fixture("signal_on_speed_board", dir.path());
  const ToolRun errors = run_scenarioc(dir.path(), kProva);
  EXPECT_EQ(errors.status, 2);
  EXPECT_EQ(errors.out, "");
  EXPECT_NE(errors.err.find("error 16"), std::string::npos) << errors.err;
  EXPECT_NE(errors.err.find("the timetable needs a scenario that compiles without them"),
            std::string::npos);
}

// A compiled set stands for the sources it was compiled from: the same table,
// from its three files or from its folder.
TEST_F(TimetableCommandTest, ACompiledSetGivesTheTableOfItsSources) {
  ASSERT_EQ(
      run_scenarioc(dir.path(), with(std::vector<std::string>{"compile", kBuiltin[1], kBuiltin[2]},
                                     {"-o", "set"}))
          .status,
      0);
  const ToolRun sources = run_scenarioc(dir.path(), with(kBuiltin, {"--csv"}));
  const ToolRun files = run_scenarioc(
      dir.path(), {"timetable", "set/Velmora_Dorsel_linea.dat", "set/Velmora_Dorsel_904.sim",
                   "set/Velmora_Dorsel_904.dat", "--csv"});
  const ToolRun folder = run_scenarioc(dir.path(), {"timetable", "set", "--csv"});
  EXPECT_EQ(files.status, 0) << files.err;
  EXPECT_EQ(files.out, sources.out);
  EXPECT_EQ(folder.out, sources.out);
  const ToolRun one = run_scenarioc(dir.path(), {"timetable", "Velmora_Dorsel_linea.txt"});
  EXPECT_EQ(one.status, 2);
}

}  // namespace
}  // namespace scenario::testing
