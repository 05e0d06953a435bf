// scenarioc documents, and the documents of compile and check: whole
// documents against golden files, the built-in scenario's documents computed
// from its own sources, and the faults of a details file named with their line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/json_reader.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kDocuments = {"Prova_1_note.txt", "Prova_1_rallentamenti.txt",
                                             "Prova_1_scheda_treno.txt"};

fs::path scenarios_folder() {
  return fs::path(fixture_path("")).parent_path().parent_path() / "tools" / "scenarioc" /
         "documents" / "scenarios";
}

void copy_scenario(const std::string& name, const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(scenarios_folder() / name)) {
    if (entry.is_regular_file()) fs::copy_file(entry.path(), folder / entry.path().filename());
  }
}

// The first line where two texts differ, for a failing comparison.
std::string first_difference(const std::string& a, const std::string& b) {
  const std::vector<std::string> x = split_crlf(a);
  const std::vector<std::string> y = split_crlf(b);
  for (size_t i = 0; i < std::max(x.size(), y.size()); ++i) {
    const std::string left = i < x.size() ? x[i] : "(none)";
    const std::string right = i < y.size() ? y[i] : "(none)";
    if (left != right) return "line " + std::to_string(i + 1) + ":\n" + left + "\n" + right;
  }
  return "";
}

TEST(DocumentsCommandTest, GoldenDocumentsOfSmallScenarios) {
  for (const char* name : {"tratto_breve", "due_riferimenti", "molti_rallentamenti"}) {
    TempDir dir;
    copy_scenario(name, dir.path());
    const ToolRun run =
        run_scenarioc(dir.path(), {"documents", "Prova_linea.txt", "Prova_1-.txt", "-o", "out"});
    EXPECT_EQ(run.status, 0) << name << "\n" << run.err;
    for (const std::string& document : kDocuments) {
      const std::string expected = read_file(scenarios_folder() / name / "expected" / document);
      const std::string written = read_file(dir / "out" / document);
      EXPECT_EQ(written, expected) << name << " " << document << "\n"
                                   << first_difference(written, expected);
    }
  }
}

// One timetable row cut at its bars, blanks trimmed.
struct Row {
  std::string limit, chainage, place, time, recovery;
};

std::string trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The rows of the filled pages that hold a place with a chainage.
std::vector<Row> timetable_rows(const std::string& sheet) {
  std::vector<Row> rows;
  for (const std::string& line : split_crlf(sheet)) {
    if (line.size() != 83 || line.substr(0, 2) != " |" || line[7] != '|') continue;
    const std::string chainage = trimmed(line.substr(14, 10));
    if (chainage.empty() || chainage.find('.') == std::string::npos) continue;
    rows.push_back({trimmed(line.substr(2, 5)), chainage, trimmed(line.substr(31, 28)),
                    line.substr(60, 16), trimmed(line.substr(77, 5))});
  }
  return rows;
}

long metres_of(const std::string& chainage) {
  const size_t point = chainage.find('.');
  return std::atol(chainage.substr(0, point).c_str()) * 1000 +
         std::atol(chainage.substr(point + 1).c_str());
}

// The built-in scenario's own sources, with the details the sources lack: the
// slowdown order and the notes are the built-in ones byte for byte; the sheet
// has the same station rows and speed limits, its chainages within 50 m of
// the built-in sheet's but for the rows whose fixed text disagrees with the
// sources by more.
TEST(DocumentsCommandTest, TheBuiltInScenarioFromItsOwnSources) {
  TempDir dir;
  ASSERT_EQ(run_scenarioc(dir.path(), {"emit"}).status, 0);
  fs::copy_file(scenarios_folder() / "builtin" / "Velmora_Dorsel_904_details.json",
                dir / "Velmora_Dorsel_904_details.json");
  const ToolRun run = run_scenarioc(dir.path(), {"documents", "Velmora_Dorsel_linea.txt",
                                                 "Velmora_Dorsel_904-.txt", "-o", "computed"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");  // the details leave no placeholder
  for (const char* name : {"Velmora_Dorsel_904_rallentamenti.txt", "Velmora_Dorsel_904_note.txt"}) {
    EXPECT_EQ(read_file(dir / "computed" / name), read_file(dir / name)) << name;
  }
  const std::string builtin_sheet = read_file(dir / "Velmora_Dorsel_904_scheda_treno.txt");
  const std::string computed_sheet =
      read_file(dir / "computed" / "Velmora_Dorsel_904_scheda_treno.txt");
  // The header blocks of page 1 are the same.
  EXPECT_EQ(split_crlf(computed_sheet)[3], split_crlf(builtin_sheet)[3]);
  for (size_t i = 2; i < 16; ++i) {
    EXPECT_EQ(split_crlf(computed_sheet)[i], split_crlf(builtin_sheet)[i]) << "line " << i + 1;
  }

  const std::vector<Row> builtin = timetable_rows(builtin_sheet);
  const std::vector<Row> computed = timetable_rows(computed_sheet);
  auto stations = [](const std::vector<Row>& rows) {
    std::vector<const Row*> found;
    for (const Row& row : rows) {
      if (!trimmed(row.time).empty()) found.push_back(&row);
    }
    return found;
  };
  auto limits = [](const std::vector<Row>& rows) {
    std::vector<const Row*> found;
    for (const Row& row : rows) {
      if (!row.limit.empty()) found.push_back(&row);
    }
    return found;
  };
  const std::vector<const Row*> builtin_stations = stations(builtin);
  const std::vector<const Row*> computed_stations = stations(computed);
  ASSERT_EQ(builtin_stations.size(), 35u);
  ASSERT_EQ(computed_stations.size(), 35u);
  std::set<std::string> far;  // rows more than 50 m from the built-in sheet's
  for (size_t i = 0; i < 35; ++i) {
    const Row& b = *builtin_stations[i];
    const Row& c = *computed_stations[i];
    EXPECT_EQ(c.place, b.place);
    EXPECT_EQ(c.time, b.time) << b.place;
    EXPECT_EQ(c.recovery, b.recovery) << b.place;
    if (std::labs(metres_of(c.chainage) - metres_of(b.chainage)) > 50) far.insert(b.place);
  }
  const std::vector<const Row*> builtin_limits = limits(builtin);
  const std::vector<const Row*> computed_limits = limits(computed);
  ASSERT_EQ(builtin_limits.size(), 27u);
  ASSERT_EQ(computed_limits.size(), 27u);
  for (size_t i = 0; i < 27; ++i) {
    const Row& b = *builtin_limits[i];
    const Row& c = *computed_limits[i];
    EXPECT_EQ(c.limit, b.limit) << i;
    if (std::labs(metres_of(c.chainage) - metres_of(b.chainage)) > 50) far.insert(b.place);
  }
  // VALDENZA stands at 146150 m (km 203.850), DORSEL at 238450 m (km 111.550);
  // the limit of 160 km/h after CORVALDINO starts at 124050 m (km 225.950),
  // 50 m before the post of km 226.
  EXPECT_EQ(far, (std::set<std::string>{"VALDENZA", "DORSEL", "Km 226.100"}));
}

TEST(DocumentsCommandTest, AFaultInTheDetailsNamesFileAndLineAndWritesNothing) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  write_file(dir / "Prova_1_details.json",
             "{\n  \"category\": \"IC\",\n  \"blocked_mass\": -3\n}\n");
  const ToolRun run = run_scenarioc(dir.path(), {"documents", "Prova_linea.txt", "Prova_1-.txt"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(has_line(run.err,
                       "Prova_1_details.json:3: error: \"blocked_mass\" takes a whole number of "
                       "tonnes from 1 to 99999, not -3"))
      << run.err;
  EXPECT_EQ(run.out, "");
  for (const std::string& document : kDocuments) EXPECT_FALSE(fs::exists(dir / document));

  // A station the train file does not have: found once the scenario is compiled.
  write_file(dir / "other.json",
             "{\n  \"stations\": {\n    \"NESSUNA\": {\"time\": \"10.35\"}\n  }\n}\n");
  const ToolRun unknown = run_scenarioc(
      dir.path(), {"documents", "Prova_linea.txt", "Prova_1-.txt", "--details", "other.json"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(
      has_line(unknown.err, "other.json:3: error: \"NESSUNA\" is no station of the train file"))
      << unknown.err;
  for (const std::string& document : kDocuments) EXPECT_FALSE(fs::exists(dir / document));

  // The documents never take the place of the details.
  const ToolRun over = run_scenarioc(dir.path(), {"documents", "Prova_linea.txt", "Prova_1-.txt",
                                                  "--details", "Prova_1_note.txt"});
  EXPECT_EQ(over.status, 2);
}

TEST(DocumentsCommandTest, CompileWritesThemBesideTheCompiledFiles) {
  TempDir dir;
  copy_scenario("tratto_breve", dir.path());
  const ToolRun run = run_scenarioc(
      dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt", "-o", "bin", "--documents"});
  EXPECT_EQ(run.status, 0) << run.err;
  for (const char* name : {"Prova_1.dat", "Prova_1.sim", "Prova_linea.dat"}) {
    EXPECT_TRUE(fs::exists(dir / "bin" / name)) << name;
  }
  for (const std::string& document : kDocuments) {
    EXPECT_EQ(read_file(dir / "bin" / document),
              read_file(scenarios_folder() / "tratto_breve" / "expected" / document))
        << document;
    EXPECT_TRUE(has_line(run.out, "wrote bin/" + document)) << run.out;
  }

  const ToolRun json = run_scenarioc(dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt",
                                                  "-o", "bin", "--documents", "--json"});
  const JsonValue document = parse_json(json.out);
  EXPECT_EQ(document["documents"]["details_file"].text, "Prova_1_details.json");
  EXPECT_EQ(document["documents"]["files_written"].size(), 3u);
  EXPECT_EQ(document["documents"]["errors"].size(), 0u);
  EXPECT_EQ(document["exit_status"].integer(), 0);

  // Without --documents, nothing about them.
  const ToolRun plain = run_scenarioc(
      dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt", "-o", "bin2", "--json"});
  EXPECT_FALSE(parse_json(plain.out).has("documents"));
  EXPECT_FALSE(fs::exists(dir / "bin2" / kDocuments[0]));
}

TEST(DocumentsCommandTest, CheckNotesPlaceholdersAndCountsFaultsOnlyWithADetailsFile) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  const ToolRun without = run_scenarioc(dir.path(), {"check", "Prova_linea.txt", "Prova_1-.txt"});
  EXPECT_EQ(without.status, 0);
  EXPECT_EQ(without.out.find("note:"), std::string::npos) << without.out;

  write_file(dir / "Prova_1_details.json", "{\n  \"category\": \"IC\"\n}\n");
  const ToolRun notes = run_scenarioc(dir.path(), {"check", "Prova_linea.txt", "Prova_1-.txt"});
  EXPECT_EQ(notes.status, 0) << notes.out;
  EXPECT_TRUE(has_line(notes.out,
                       "Prova_1_details.json: note: the train sheet shows x for the train's "
                       "rank: the details give no \"rank\""))
      << notes.out;
  EXPECT_TRUE(has_line(notes.out, "Prova_linea.txt + Prova_1-.txt: ok")) << notes.out;

  write_file(dir / "Prova_1_details.json", "{\n  \"category\": \"IC\",\n  \"rank\": 3\n}\n");
  const ToolRun fault = run_scenarioc(dir.path(), {"check", "Prova_linea.txt", "Prova_1-.txt"});
  EXPECT_EQ(fault.status, 1);
  EXPECT_TRUE(
      has_line(fault.out, "Prova_1_details.json:3: error: \"rank\" takes a string, not a number"))
      << fault.out;
  EXPECT_TRUE(has_line(fault.out, "Prova_linea.txt + Prova_1-.txt: 1 error, 0 warnings"))
      << fault.out;
  // The rank is given, if wrongly: no note says the details lack it.
  EXPECT_EQ(fault.out.find("note:"), std::string::npos) << fault.out;
  const JsonValue json = parse_json(
      run_scenarioc(dir.path(), {"check", "Prova_linea.txt", "Prova_1-.txt", "--json"}).out);
  EXPECT_EQ(json["documents"]["errors"][0]["line"].integer(), 3);
  EXPECT_EQ(json["exit_status"].integer(), 1);
}

}  // namespace
}  // namespace scenario::testing
