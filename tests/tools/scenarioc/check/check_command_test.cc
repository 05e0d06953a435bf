// scenarioc check: one scenario or every scenario under folders, checked in
// memory on several threads, told in a fixed order as text or JSON Lines, with
// the exit status of the worst.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/json_reader.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

// Copies a fixture's two files into `folder` under the scenario name `nome`
// and train number `treno`.
void place_scenario(const std::string& fixture, const fs::path& folder, const std::string& nome,
                    const std::string& treno) {
  fs::create_directories(folder);
  fs::copy_file(fixture_path(fixture + "/Prova_linea.txt"), folder / (nome + "_linea.txt"));
  fs::copy_file(fixture_path(fixture + "/Prova_1-.txt"), folder / (nome + "_" + treno + "-.txt"));
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Whether `expected` appear in `lines` in this order, other lines (such as
// notes) allowed between them.
bool appear_in_order(const std::vector<std::string>& lines,
                     const std::vector<std::string>& expected) {
  auto at = lines.begin();
  for (const std::string& line : expected) {
    at = std::find(at, lines.end(), line);
    if (at == lines.end()) return false;
    ++at;
  }
  return true;
}

// A collection: two clean scenarios, one with an error, one line file with two trains.
void make_collection(const TempDir& dir) {
  place_scenario("clean", dir / "coll/a", "Alfa", "1");
  place_scenario("signal_on_speed_board", dir / "coll/b/deep", "Beta", "2");
  place_scenario("clean", dir / "coll/c", "Gamma", "3");
  fs::copy_file(fixture_path("clean/Prova_1-.txt"), dir / "coll/c/Gamma_4-.txt");
}

TEST(CheckCommandTest, FoldersGiveEveryScenarioItsDiagnosticsAndASummaryLine) {
  TempDir dir;
  make_collection(dir);
  const ToolRun run = run_scenarioc(dir.path(), {"check", "coll"});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(appear_in_order(
      lines_of(run.out),
      (std::vector<std::string>{
          "coll/a/Alfa_linea.txt + coll/a/Alfa_1-.txt: ok",
          "coll/b/deep/Beta_2-.txt:16:1: error 16: signal at 700 m: cell 15 already holds "
          "a speed-indicator board",
          "   16 | segnale,     700,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
          "      | ^",
          "coll/b/deep/Beta_linea.txt + coll/b/deep/Beta_2-.txt: 1 error, 0 warnings",
          "coll/c/Gamma_linea.txt + coll/c/Gamma_3-.txt: ok",
          "coll/c/Gamma_linea.txt + coll/c/Gamma_4-.txt: ok",
          "scenarioc check: 4 scenarios: 3 ok, 0 with warnings, 1 with errors",
      })))
      << run.out;
  // Nothing is written.
  for (const auto& entry : fs::recursive_directory_iterator(dir / "coll")) {
    EXPECT_NE(entry.path().extension(), ".dat") << entry.path();
    EXPECT_NE(entry.path().extension(), ".sim") << entry.path();
  }
}

// The built-in scenario is the example every author starts from: not a word about it.
TEST(CheckCommandTest, TheEmittedScenarioDrawsNoDiagnostic) {
  TempDir dir;
  ASSERT_EQ(run_scenarioc(dir.path(), {"emit", "-o", "start"}).status, 0);
  const ToolRun run = run_scenarioc(dir.path(), {"check", "-Werror", "start"});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "start/Velmora_Dorsel_linea.txt + start/Velmora_Dorsel_904-.txt: ok\n");
  EXPECT_EQ(run.err, "");
}

TEST(CheckCommandTest, ExitStatusIsTheWorstOfAllScenarios) {
  const struct {
    const char* name;
    std::vector<std::string> fixtures;  // one scenario each
    std::vector<std::string> extra_files;
    int status;
  } rows[] = {
      {"all clean", {"clean", "clean"}, {}, 0},
      {"one with an error", {"clean", "stations_too_close"}, {}, 1},
      {"a fatal error", {"object_at_route_start"}, {}, 1},
      {"no cell row", {"no_generale"}, {}, 1},
      {"a line file without a train file", {"clean"}, {"Solo_linea.txt"}, 1},
      {"a train file without a line file", {"clean"}, {"Orfano_5-.txt"}, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    for (size_t i = 0; i < row.fixtures.size(); ++i) {
      place_scenario(row.fixtures[i], dir / "coll", "S" + std::to_string(i), "1");
    }
    for (const std::string& file : row.extra_files) write_file(dir / "coll" / file, "");
    const ToolRun run = run_scenarioc(dir.path(), {"check", "coll"});
    EXPECT_EQ(run.status, row.status) << run.out << run.err;
  }
}

TEST(CheckCommandTest, UnpairedFilesAreNamed) {
  TempDir dir;
  fs::create_directory(dir / "coll");
  write_file(dir / "coll/Solo_linea.txt", "");
  write_file(dir / "coll/Orfano_5-.txt", "");
  const ToolRun run = run_scenarioc(dir.path(), {"check", "coll"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(lines_of(run.out),
            (std::vector<std::string>{
                "coll/Orfano_5-.txt: not checked: no line file Orfano_linea.txt beside the train "
                "file",
                "coll/Solo_linea.txt: not checked: no train file Solo_NUMBER-.txt beside the line "
                "file",
                "scenarioc check: 2 scenarios: 0 ok, 0 with warnings, 2 with errors",
            }));
}

TEST(CheckCommandTest, OneScenarioByItsTwoFiles) {
  TempDir dir;
  place_scenario("signal_on_speed_board", dir.path(), "Prova", "1");
  const ToolRun run = run_scenarioc(dir.path(), {"check", "Prova_linea.txt", "Prova_1-.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(has_line(run.out, "Prova_linea.txt + Prova_1-.txt: 1 error, 0 warnings")) << run.out;
  EXPECT_TRUE(has_line(run.out, "   16 | segnale,     700,   2, 4, 0,  0, 0,    2,  1,0,0, 0"));
  EXPECT_EQ(list_folder(dir.path()), (std::vector<std::string>{"Prova_1-.txt", "Prova_linea.txt"}));
}

TEST(CheckCommandTest, UsageAndFileFailures) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    const char* first_err_line;
  } rows[] = {
      {"a file among folders",
       {"check", "coll", "coll/S_linea.txt"},
       "scenarioc check: 'coll/S_linea.txt' is not a folder; give LINE_FILE TRAIN_FILE or "
       "folders"},
      {"one file",
       {"check", "coll/S_linea.txt"},
       "scenarioc check: 'coll/S_linea.txt' is not a folder; give LINE_FILE TRAIN_FILE or "
       "folders"},
      {"--name with folders",
       {"check", "coll", "--name", "X"},
       "scenarioc check: --name and --train name one scenario; folders name their scenarios by "
       "file name"},
      {"a folder without scenarios",
       {"check", "empty"},
       "scenarioc check: no line file NAME_linea.txt found"},
      {"no such jobs",
       {"check", "coll", "-j0"},
       "scenarioc: option '--jobs' takes a number from 1 to 1024, not '0'"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    place_scenario("clean", dir / "coll", "S", "1");
    fs::create_directory(dir / "empty");
    const ToolRun run = run_scenarioc(dir.path(), row.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), row.first_err_line);
    EXPECT_EQ(run.out, "");
  }
}

// A folder where a train file belongs is no train file; a train file that
// cannot be opened is a failure of its scenario, which the others do not share.
TEST(CheckCommandTest, MissingTrainFiles) {
  TempDir dir;
  place_scenario("clean", dir / "coll", "A", "1");
  place_scenario("clean", dir / "coll", "B", "1");
  fs::remove(dir / "coll/B_1-.txt");
  fs::create_directory(dir / "coll/B_1-.txt");
  const ToolRun run = run_scenarioc(dir.path(), {"check", "coll"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(has_line(run.out, "coll/A_linea.txt + coll/A_1-.txt: ok")) << run.out;
  EXPECT_TRUE(has_line(run.out,
                       "coll/B_linea.txt: not checked: no train file B_NUMBER-.txt beside the "
                       "line file"))
      << run.out;
  const ToolRun one = run_scenarioc(dir / "coll", {"check", "B_linea.txt", "B_1-.txt"});
  EXPECT_EQ(one.status, 2);
  EXPECT_EQ(one.out,
            "B_linea.txt + B_1-.txt: not checked: cannot read 'B_1-.txt': it is a directory, not a "
            "regular file\n");
}

TEST(CheckCommandTest, JsonLinesGiveOneObjectPerScenario) {
  TempDir dir;
  make_collection(dir);
  write_file(dir / "coll/Solo_linea.txt", "");
  const ToolRun run = run_scenarioc(dir.path(), {"check", "coll", "--json"});
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = lines_of(run.out);
  ASSERT_EQ(lines.size(), 5u) << run.out;
  std::vector<JsonValue> objects;
  for (const std::string& line : lines) objects.push_back(parse_json(line));
  EXPECT_EQ(objects[0]["line_file"].text, "coll/Solo_linea.txt");
  EXPECT_TRUE(objects[0]["train_file"].is_null());
  EXPECT_EQ(objects[0]["failure"].text, "no train file Solo_NUMBER-.txt beside the line file");
  EXPECT_EQ(objects[0]["exit_status"].integer(), 1);
  EXPECT_EQ(objects[1]["train_file"].text, "coll/a/Alfa_1-.txt");
  EXPECT_EQ(objects[1]["nome"].text, "Alfa");
  EXPECT_EQ(objects[1]["recordings"].size(), 0u);
  EXPECT_TRUE(objects[1]["failure"].is_null());
  EXPECT_EQ(objects[1]["exit_status"].integer(), 0);
  const JsonValue& beta = objects[2];
  EXPECT_EQ(beta["treno"].text, "2");
  EXPECT_EQ(beta["codice_errore"].integer(), 16);
  ASSERT_EQ(beta["recordings"].size(), 1u);
  EXPECT_EQ(beta["recordings"][0]["file"].text, "coll/b/deep/Beta_2-.txt");
  EXPECT_EQ(beta["recordings"][0]["line"].integer(), 16);
  EXPECT_EQ(beta["recordings"][0]["severity"].text, "error");
  EXPECT_EQ(beta["warnings"].size(), 0u);
  EXPECT_FALSE(beta.has("files_written"));
  EXPECT_EQ(beta["exit_status"].integer(), 1);
  EXPECT_EQ(objects[4]["train_file"].text, "coll/c/Gamma_4-.txt");
}

// A compile stops at its first error of this kind; the check reads on and
// marks what it finds beyond that point.
TEST(CheckCommandTest, ErrorsBeyondTheCompilesStopAreMarked) {
  TempDir dir;
  copy_fixture("signal_on_speed_board", dir.path());
  std::string train = read_file(dir / "Prova_1-.txt");
  const std::string signal = "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0\r\n";
  train.insert(train.find(signal) + signal.size(),
               "segnale,     700,   2, 4, 0,  0, 0,    2,  1,0,0, 0\r\n");
  write_file(dir / "Prova_1-.txt", train);
  const ToolRun check = run_scenarioc(dir.path(), {"check", "Prova_linea.txt", "Prova_1-.txt"});
  EXPECT_EQ(check.status, 1);
  EXPECT_TRUE(has_line(check.out,
                       "Prova_1-.txt:18:1: error 16: signal at 700 m: cell 15 already holds a "
                       "speed-indicator board (found after the point where the compile stopped)"))
      << check.out;
  EXPECT_TRUE(
      has_line(check.out,
               "Prova_linea.txt + Prova_1-.txt: 2 errors, 0 warnings; 1 of the errors found "
               "after the point where the compile stopped"))
      << check.out;
  const ToolRun compile =
      run_scenarioc(dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt", "-o", "out"});
  EXPECT_EQ(compile.err.find(":18:1:"), std::string::npos) << compile.err;
  EXPECT_EQ(compile.err.find("found after"), std::string::npos) << compile.err;
  const JsonValue json = parse_json(
      run_scenarioc(dir.path(), {"check", "Prova_linea.txt", "Prova_1-.txt", "--json"}).out);
  ASSERT_EQ(json["recordings"].size(), 2u);
  EXPECT_FALSE(json["recordings"][0]["after_stop"].boolean);
  EXPECT_TRUE(json["recordings"][1]["after_stop"].boolean);
}

// A scenario with a speed limit of 162 km/h draws a warning: the collection
// passes, unless -Werror makes it an error, and -Wno-NAME hides it.
TEST(CheckCommandTest, WarningFlagsDecideWhetherTheCollectionPasses) {
  TempDir dir;
  place_scenario("clean", dir / "coll", "A", "1");
  place_scenario("clean", dir / "coll", "B", "1");
  std::string train = read_file(dir / "coll/B_1-.txt");
  train.replace(train.find("velocita,  1950,  160"), 21, "velocita,  1950,  162");
  write_file(dir / "coll/B_1-.txt", train);
  const struct {
    std::vector<std::string> flags;
    int status;
    const char* b_summary;
    const char* totals;
  } rows[] = {
      {{},
       0,
       "coll/B_linea.txt + coll/B_1-.txt: 0 errors, 1 warning",
       "scenarioc check: 2 scenarios: 1 ok, 1 with warnings, 0 with errors"},
      {{"-Werror"},
       1,
       "coll/B_linea.txt + coll/B_1-.txt: 0 errors, 1 warning (errors under -Werror)",
       "scenarioc check: 2 scenarios: 1 ok, 1 with warnings, 0 with errors"},
      {{"-Werror", "-Wno-speed-rounded"},
       0,
       "coll/B_linea.txt + coll/B_1-.txt: ok",
       "scenarioc check: 2 scenarios: 2 ok, 0 with warnings, 0 with errors"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.flags));
    std::vector<std::string> args = {"check", "coll"};
    args.insert(args.end(), row.flags.begin(), row.flags.end());
    const ToolRun run = run_scenarioc(dir.path(), args);
    EXPECT_EQ(run.status, row.status) << run.out;
    EXPECT_TRUE(has_line(run.out, row.b_summary)) << run.out;
    EXPECT_TRUE(has_line(run.out, row.totals)) << run.out;
    const bool shown = run.out.find("coll/B_1-.txt:10:19: ") != std::string::npos;
    EXPECT_EQ(shown, std::string(row.b_summary).find("ok") == std::string::npos) << run.out;
  }
}

// The threads finish in any order; what is printed never changes.
TEST(CheckCommandTest, OutputIsTheSameWhateverTheNumberOfThreads) {
  TempDir dir;
  for (int i = 0; i < 12; ++i) {
    const char* fixture = i % 3 == 0   ? "signal_on_speed_board"
                          : i % 3 == 1 ? "clean"
                                       : "stations_too_close";
    place_scenario(fixture, dir / ("coll/s" + std::to_string(i % 4)), "N" + std::to_string(i),
                   std::to_string(i));
  }
  const ToolRun one = run_scenarioc(dir.path(), {"check", "coll", "-j1"});
  for (const char* jobs : {"-j2", "-j7", "--jobs=12"}) {
    for (int repeat = 0; repeat < 3; ++repeat) {
      const ToolRun many = run_scenarioc(dir.path(), {"check", "coll", jobs});
      EXPECT_EQ(many.out, one.out) << jobs;
      EXPECT_EQ(many.status, one.status);
    }
  }
  EXPECT_EQ(lines_of(one.out).back(),
            "scenarioc check: 12 scenarios: 4 ok, 0 with warnings, 8 with errors");
}

TEST(CheckCommandTest, ColourOnATerminalOnlyAndNotUnderNoColor) {
  TempDir dir;
  place_scenario("signal_on_speed_board", dir.path(), "Prova", "1");
  const std::string red = "\33[01;31m";
  const struct {
    const char* name;
    std::vector<std::string> flags;
    bool terminal;
    const char* no_color;
    bool colour;
  } rows[] = {
      {"terminal", {}, true, nullptr, true},
      {"terminal, NO_COLOR", {}, true, "1", false},
      {"terminal, --color=never", {"--color=never"}, true, nullptr, false},
      {"terminal, NO_COLOR, --color=always", {"--color=always"}, true, "1", true},
      {"pipe", {}, false, nullptr, false},
      {"pipe, --color=always", {"--color", "always"}, false, nullptr, true},
  };
  for (const char* command : {"check", "compile"}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(command) + ": " + row.name);
      std::vector<std::string> args = {command, "Prova_linea.txt", "Prova_1-.txt", "-o", "out"};
      if (std::string(command) == "check") args.resize(3);
      args.insert(args.end(), row.flags.begin(), row.flags.end());
      const ToolRun run = row.terminal ? run_scenarioc_on_terminal(dir.path(), args, row.no_color)
                                       : run_scenarioc(dir.path(), args);
      EXPECT_EQ(run.status, 1);
      const std::string shown = run.out + run.err;
      EXPECT_NE(shown.find("error 16:"), std::string::npos) << shown;
      EXPECT_EQ(shown.find(red) != std::string::npos, row.colour) << shown;
    }
  }
}

}  // namespace
}  // namespace scenario::testing
