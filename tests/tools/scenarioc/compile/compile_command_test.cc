// scenarioc compile: diagnostics and exit status for broken scenarios, the
// names of the compiled files, the sources left as they were, and --json.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/json_reader.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kCompiled = {"Prova_1.dat", "Prova_1.sim", "Prova_linea.dat"};

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n')); }

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool any_exists(const fs::path& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (fs::exists(folder / name)) return true;
  }
  return false;
}

bool all_exist(const fs::path& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!fs::exists(folder / name)) return false;
  }
  return true;
}

// Compiles a fixture copied into `dir`, the compiled files going beside the sources.
ToolRun compile_fixture(const TempDir& dir, const std::string& fixture,
                        std::vector<std::string> extra = {}) {
  copy_fixture(fixture, dir.path());
  std::vector<std::string> args = {"compile", "Prova_linea.txt", "Prova_1-.txt"};
  args.insert(args.end(), extra.begin(), extra.end());
  return run_scenarioc(dir.path(), args);
}

TEST(CompileCommandTest, BrokenScenariosGiveOneDiagnosticAndTheirStatus) {
  const struct {
    const char* fixture;
    const char* diagnostic;  // the first line on stderr; empty: nothing at all
    int status;
  } rows[] = {
      {"clean", "", 0},
      {"route_too_long",
       "Prova_linea.txt:2:1: error 1: the route length is above 1000000 m: 1000050 m", 2},
      {"reference_off_grid",
       "Prova_linea.txt:3:1: error 2: a kilometric reference is not on a multiple of 50 m: the "
       "kilometric reference at 0 m with chainage 350020 m",
       1},
      {"repetition_start_off_grid",
       "Prova_linea.txt:9:1: error 3: the start of the signal repetition is not a multiple of "
       "50 m: 1660 m",
       1},
      {"repetition_without_code_count",
       "Prova_linea.txt:9:1: error 5: the signal-repetition keyword names neither 4 nor 9 codes",
       1},
      {"board_on_speed_board",
       "Prova_linea.txt:22:1: error 6: indication board at 700 m: cell 15 already holds a "
       "speed-indicator board",
       1},
      {"abbattimento_on_signal",
       "Prova_1-.txt:17:1: error 7: abbattimento at 1700 m: cell 34 already holds a signal", 1},
      {"station_off_grid",
       "Prova_1-.txt:13:1: error 8: station at 6920 m: the position is not a multiple of 50 m", 1},
      {"station_length_off_grid",
       "Prova_1-.txt:13:1: error 9: station at 6900 m: the length is not a multiple of 100 m", 1},
      {"signal_look_back_full",
       "Prova_1-.txt:15:1: error 12: slowdown at 5000 m: none of the three cells of one of its "
       "look-back windows (250 to 350, 550 to 650 or 900 to 1000 m before its start, cell 101 "
       "at 5050 m) is free for an abbattimento marker",
       1},
      {"signal_beyond_route",
       "Prova_1-.txt:17:1: error 15: signal at 20000 m lies beyond the cell row: a record's "
       "position may be at most 16900 m, 100 m before the row's end at 17000 m (7000 m past the "
       "route's end); the rest of this file is skipped",
       1},
      {"signal_on_speed_board",
       "Prova_1-.txt:16:1: error 16: signal at 700 m: cell 15 already holds a speed-indicator "
       "board",
       1},
      {"slowdown_on_board",
       "Prova_1-.txt:15:1: error 18: slowdown at 4400 m: the start cell 89 already holds an "
       "indication board",
       1},
      {"speed_board_twice",
       "Prova_linea.txt:20:1: error 21: speed-indicator board at 700 m: cell 15 already holds a "
       "speed-indicator board",
       1},
      {"stations_too_close",
       "Prova_1-.txt:13:1: error 22: station at 700 m: its zone starts at 400 m, less than 350 m "
       "after the zone end of the station before it; it may start at 850 m at the earliest",
       1},
      {"station_zone_at_start",
       "Prova_1-.txt:12:1: error 24: the station's zone ends at or before 100 m, leaving no cell "
       "for its mark",
       1},
      {"sand_out_of_range",
       "Prova_1-.txt:4:1: error 25: the sand setting's value is out of range: the value 70000 "
       "does not fit a 16-bit column (-32768 to 32767)",
       1},
      {"missing_line_file", "Prova_linea.txt: error 101: the line source file does not exist", 2},
      {"no_generale",
       "Prova_linea.txt:1:1: error 102: no field holds \"[generale]\" before the end of the file: "
       "\"[general]\" here is near it: did you mean \"[generale]\"?",
       2},
      {"curve_without_class",
       "Prova_linea.txt:11:1: error 103: curve or track plan error: the keyword \"curvas\" holds "
       "no class digit 1 to 6",
       1},
      {"object_at_route_start",
       "Prova_linea.txt:19:1: error 1250: cell 1 is the header cell and its dato1 carries the "
       "header "
       "value 5121, but it already holds a speed-indicator board (dato1=2020): an object at the "
       "very start of the route fills it; move that object further along the route; no "
       "compiled file was written",
       2},
      {"signal_at_route_start",
       "Prova_1-.txt:16:1: error 1251: cell 1 is the header cell and its dato2 carries the "
       "competition code, but it already holds a signal (dato2=10): an object at the very start "
       "of the route fills it; move that object further along the route; no compiled file was "
       "written",
       2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.fixture);
    TempDir dir;
    const ToolRun run = compile_fixture(dir, row.fixture);
    EXPECT_EQ(run.status, row.status) << run.err;
    EXPECT_EQ(first_line(run.err), row.diagnostic);
    if (row.status == 2) {
      EXPECT_FALSE(any_exists(dir.path(), kCompiled));
      EXPECT_TRUE(run.out.empty()) << run.out;
    } else {
      EXPECT_TRUE(all_exist(dir.path(), kCompiled));
      EXPECT_TRUE(has_line(run.out, "wrote ./Prova_1.dat")) << run.out;
    }
    for (const char* source : {"Prova_linea.txt", "Prova_1-.txt"}) {
      const fs::path original = fixture_path(row.fixture) + "/" + std::string(source);
      if (!fs::exists(original)) continue;
      EXPECT_EQ(read_file(dir / source), read_file(original)) << source << " was changed";
    }
  }
}

TEST(CompileCommandTest, ParseWithoutCellRowSaysWhyNothingWasWritten) {
  TempDir dir;
  const ToolRun run = compile_fixture(dir, "route_too_long");
  EXPECT_TRUE(has_line(run.err,
                       "scenarioc: no compiled file written: the parse stopped with error 1 before "
                       "a route length (\"lunghezza percorso\") gave the route its cell row"))
      << run.err;
}

TEST(CompileCommandTest, DiagnosticsNameTheFilesAsGiven) {
  TempDir dir;
  fs::create_directory(dir / "src");
  copy_fixture("signal_on_speed_board", dir / "src");
  const ToolRun run = run_scenarioc(
      dir.path(), {"compile", "src/Prova_linea.txt", "src/Prova_1-.txt", "-o", "out/compiled"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(first_line(run.err),
            "src/Prova_1-.txt:16:1: error 16: signal at 700 m: cell 15 already holds a "
            "speed-indicator board");
  EXPECT_TRUE(all_exist(dir / "out/compiled", kCompiled));
  EXPECT_FALSE(any_exists(dir / "src", kCompiled));
}

// The source line is read back from the file as the compiler read it, and shown
// in UTF-8 with its tabs widened: the caret still stands under the column the
// diagnostic names, whether that is the sand record's keyword or its value.
TEST(CompileCommandTest, CaretStandsUnderItsColumnAfterTabsAndAWindows1252Byte) {
  TempDir dir;
  copy_fixture("sand_out_of_range", dir.path());
  std::string train = read_file(dir / "Prova_1-.txt");
  const std::string records = "numero vetture,    14\r\n";
  train.replace(train.find(records), records.size(), "");
  // Two records on one line: the sand record starts at byte column 23, its value at 31.
  const std::string line = "\xE0 numero vetture,\t14,\tsabbia, 70000";
  train.replace(train.find("sabbia,    70000"), 16, line);
  write_file(dir / "Prova_1-.txt", train);
  const ToolRun run = run_scenarioc(dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt"});
  EXPECT_EQ(run.status, 1);
  const std::string shown = "\xC3\xA0 numero vetture,       14,     sabbia, 70000";
  const std::map<std::string, size_t> caret_at = {{"23", 32}, {"31", 40}};  // column: shown
  const std::vector<std::string> lines = split_lines(run.err);
  const auto error = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find(": error 25:") != std::string::npos;
  });
  ASSERT_NE(error, lines.end()) << run.err;
  ASSERT_LT(error + 2, lines.end());
  const std::string prefix = "Prova_1-.txt:3:";
  ASSERT_EQ(error->rfind(prefix, 0), 0u) << *error;
  const std::string column =
      error->substr(prefix.size(), error->find(':', prefix.size()) - prefix.size());
  ASSERT_TRUE(caret_at.count(column)) << *error;
  EXPECT_EQ(*(error + 1), "    3 | " + shown);
  EXPECT_EQ(*(error + 2), "      | " + std::string(caret_at.at(column), ' ') + "^");
}

// The clean fixture with two warnings and no error: a speed limit of 162 km/h
// on line 10 of the train file (stored as 160) and a gradient of 160 per
// mille on line 15 of the line file (stored as -96).
void write_warned_scenario(const fs::path& folder) {
  copy_fixture("clean", folder);
  for (const auto& [file, from, to] :
       {std::tuple{"Prova_1-.txt", "velocita,  1950,  160", "velocita,  1950,  162"},
        std::tuple{"Prova_linea.txt", "pendenza,  7000,   0", "pendenza,  7000, 160"}}) {
    std::string text = read_file(folder / file);
    text.replace(text.find(from), std::string(from).size(), to);
    write_file(folder / file, text);
  }
}

// -Werror makes the warnings shown errors and -Wno-NAME hides a class: both
// change what is shown and the exit status, never a compiled byte.
TEST(CompileCommandTest, WarningFlagsChangeTheExitStatusAndNeverTheFiles) {
  const std::string gradient = "Prova_linea.txt:15:18: ";
  const std::string speed = "Prova_1-.txt:10:19: ";
  const struct {
    std::vector<std::string> flags;
    int status;
    std::vector<std::string> shown;  // the start and end of each diagnostic line, in order
    const char* summary;             // the last line on stderr; empty: none
  } rows[] = {
      {{},
       0,
       {gradient + "warning: ", "[-Wvalue-not-stored]", speed + "warning: ", "[-Wspeed-rounded]"},
       "scenarioc: 2 warnings"},
      {{"-Werror"},
       1,
       {gradient + "error: ", "[-Werror=value-not-stored]",
        speed + "error: ", "[-Werror=speed-rounded]"},
       "scenarioc: 2 warnings treated as errors (-Werror); the compiled files were written all "
       "the same"},
      {{"-Wno-value-not-stored"},
       0,
       {speed + "warning: ", "[-Wspeed-rounded]"},
       "scenarioc: 1 warning"},
      {{"-Wno-value-not-stored", "-Werror"},
       1,
       {speed + "error: ", "[-Werror=speed-rounded]"},
       "scenarioc: 1 warning treated as errors (-Werror); the compiled files were written all the "
       "same"},
      {{"-Werror", "-Wno-speed-rounded", "-Wno-value-not-stored"}, 0, {}, ""},
      {{"-Wno-speed-rounded", "-Wspeed-rounded", "-Werror", "-Wno-error"},
       0,
       {gradient + "warning: ", "[-Wvalue-not-stored]", speed + "warning: ", "[-Wspeed-rounded]"},
       "scenarioc: 2 warnings"},
  };
  std::string first_files;
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.flags));
    TempDir dir;
    write_warned_scenario(dir.path());
    std::vector<std::string> args = {"compile", "Prova_linea.txt", "Prova_1-.txt", "-o", "out"};
    args.insert(args.end(), row.flags.begin(), row.flags.end());
    const ToolRun run = run_scenarioc(dir.path(), args);
    EXPECT_EQ(run.status, row.status) << run.err;
    std::vector<std::string> headlines;
    for (const std::string& line : split_lines(run.err)) {
      if (line.rfind("Prova", 0) == 0) headlines.push_back(line);
    }
    ASSERT_EQ(headlines.size() * 2, row.shown.size()) << run.err;
    for (size_t i = 0; i < headlines.size(); ++i) {
      const std::string& start = row.shown[2 * i];
      const std::string& end = row.shown[2 * i + 1];
      EXPECT_EQ(headlines[i].rfind(start, 0), 0u) << headlines[i];
      EXPECT_EQ(headlines[i].substr(headlines[i].size() - end.size()), end) << headlines[i];
    }
    const std::vector<std::string> lines = split_lines(run.err);
    EXPECT_EQ(lines.empty() ? "" : lines.back(), row.summary) << run.err;
    std::string files;
    for (const std::string& name : kCompiled) files += read_file(dir / "out" / name);
    if (first_files.empty()) first_files = files;
    EXPECT_EQ(files, first_files);
  }
}

TEST(CompileCommandTest, JsonCarriesTheWarningsShown) {
  for (const bool as_errors : {false, true}) {
    SCOPED_TRACE(as_errors);
    TempDir dir;
    write_warned_scenario(dir.path());
    std::vector<std::string> args = {"compile", "Prova_linea.txt", "Prova_1-.txt", "--json",
                                     "-Wno-value-not-stored"};
    if (as_errors) args.push_back("-Werror");
    const ToolRun run = run_scenarioc(dir.path(), args);
    EXPECT_EQ(run.status, as_errors ? 1 : 0);
    EXPECT_EQ(run.err, "");
    const JsonValue json = parse_json(run.out);
    EXPECT_EQ(json["recordings"].size(), 0u);
    ASSERT_EQ(json["warnings"].size(), 1u);
    const JsonValue& w = json["warnings"][0];
    EXPECT_EQ(w["severity"].text, as_errors ? "error" : "warning");
    EXPECT_EQ(w["name"].text, "speed-rounded");
    EXPECT_EQ(w["file"].text, "Prova_1-.txt");
    EXPECT_EQ(w["line"].integer(), 10);
    EXPECT_EQ(w["column"].integer(), 19);
    EXPECT_EQ(w["diagnostic"].text,
              "Prova_1-.txt:10:19: " + std::string(as_errors ? "error: " : "warning: ") +
                  w["message"].text +
                  (as_errors ? " [-Werror=speed-rounded]" : " [-Wspeed-rounded]"));
    EXPECT_EQ(json["codice_errore"].integer(), 0);
    EXPECT_EQ(json["exit_status"].integer(), as_errors ? 1 : 0);
  }
}

// The record that took the header cell is shown under the fatal error.
TEST(CompileCommandTest, AFatalErrorShowsTheLineOfItsRecord) {
  TempDir dir;
  const ToolRun run = compile_fixture(dir, "object_at_route_start");
  EXPECT_EQ(run.status, 2);
  const std::vector<std::string> lines = split_lines(run.err);
  ASSERT_GE(lines.size(), 3u) << run.err;
  EXPECT_EQ(lines[0].rfind("Prova_linea.txt:19:1: error 1250: ", 0), 0u) << run.err;
  EXPECT_EQ(lines[1], "   19 | indicatori_vmax,    0,  100,  110,  115,  0,  100,  110,  115,  0");
  EXPECT_EQ(lines[2], "      | ^");
}

TEST(CompileCommandTest, NamesComeFromTheFileNamesUnlessGiven) {
  const struct {
    const char* line_file;
    const char* train_file;
    std::vector<std::string> flags;
    std::vector<std::string> compiled;  // empty: a usage error
  } rows[] = {
      {"Prova_linea.txt", "Prova_1-.txt", {}, kCompiled},
      {"Due_Parole_linea.txt",
       "Due_Parole_12_A-.txt",
       {},
       {"Due_Parole_12_A.dat", "Due_Parole_12_A.sim", "Due_Parole_linea.dat"}},
      {"line.txt", "Altro_7-.txt", {}, {"Altro_7.dat", "Altro_7.sim", "Altro_linea.dat"}},
      {"Prova_linea.txt",
       "train.txt",
       {"--train", "88"},
       {"Prova_88.dat", "Prova_88.sim", "Prova_linea.dat"}},
      {"line.txt",
       "train.txt",
       {"--name", "Nuovo", "--train=3"},
       {"Nuovo_3.dat", "Nuovo_3.sim", "Nuovo_linea.dat"}},
      {"line.txt", "train.txt", {}, {}},
      {"Prova_linea.txt", "train.txt", {}, {}},
      {"Prova_linea.txt", "Prova_1-.txt", {"--name", "../elsewhere"}, {}},
      {"Prova_linea.txt", "Prova_1-.txt", {"--train", ""}, {}},
      // Route cells NAME_linea.dat would take the track plan's place.
      {"Prova_linea.txt", "Prova_linea-.txt", {}, {}},
      {"Prova_linea.txt", "Prova_1-.txt", {"--train", "LINEA"}, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.line_file) + " " + row.train_file);
    TempDir dir;
    fs::copy_file(fixture_path("clean/Prova_linea.txt"), dir / row.line_file);
    fs::copy_file(fixture_path("clean/Prova_1-.txt"), dir / row.train_file);
    std::vector<std::string> args = {"compile", row.line_file, row.train_file};
    args.insert(args.end(), row.flags.begin(), row.flags.end());
    const ToolRun run = run_scenarioc(dir.path(), args);
    if (row.compiled.empty()) {
      EXPECT_EQ(run.status, 2);
      EXPECT_NE(run.err.find("scenarioc compile: "), std::string::npos) << run.err;
      EXPECT_EQ(list_folder(dir.path()).size(), 2u);
    } else {
      EXPECT_EQ(run.status, 0) << run.err;
      std::vector<std::string> expected = row.compiled;
      expected.push_back(row.line_file);
      expected.push_back(row.train_file);
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(list_folder(dir.path()), expected);
    }
  }
}

// A name is kept as given for the file names and written in Windows-1252
// into the station table, where the competition codes are summed over it; a
// name the code page cannot hold is refused.
TEST(CompileCommandTest, NamesAreWrittenInWindows1252) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  const ToolRun run = run_scenarioc(
      dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt", "--name", "Citt\xC3\xA0"});
  ASSERT_EQ(run.status, 0) << run.err;
  const ToolRun dump = run_scenarioc(dir.path(), {"dump", "Citt\xC3\xA0_1.sim", "--json"});
  ASSERT_EQ(dump.status, 0) << dump.err;
  // Record 85: "Citt" and the one byte E0; its code sums "1citt\xE0" and the pad.
  const JsonValue header = parse_json(dump.out)["records"][85];
  EXPECT_EQ(header["testo"].text, "Citt\xC3\xA0");
  EXPECT_EQ(header["orario"].number, 37059);
  const std::string table = read_file(dir / "Citt\xC3\xA0_1.sim");
  EXPECT_NE(table.find(std::string("\x05\x00"
                                   "Citt\xE0",
                                   7)),
            std::string::npos);
  EXPECT_EQ(table.find("Citt\xC3\xA0"), std::string::npos);

  const ToolRun refused = run_scenarioc(
      dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt", "--name", "\xD0\x9C\xD0\xBE"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(first_line(refused.err),
            "scenarioc compile: the scenario name '\xD0\x9C\xD0\xBE' holds '\xD0\x9C', which "
            "Windows-1252, the code page of the compiled files, cannot hold");
}

// Final names of up to 255 bytes, the most a file name may have, compile.
TEST(CompileCommandTest, LongestNamesCompile) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  const std::string name(245, 'N');  // NAME_linea.dat: 255 bytes
  const ToolRun run =
      run_scenarioc(dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt", "--name", name});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::exists(dir / (name + "_linea.dat")));
  EXPECT_TRUE(fs::exists(dir / (name + "_1.sim")));
}

TEST(CompileCommandTest, UnnamedFilesGiveAUsageErrorThatSaysSo) {
  TempDir dir;
  fs::copy_file(fixture_path("clean/Prova_linea.txt"), dir / "line.txt");
  fs::copy_file(fixture_path("clean/Prova_1-.txt"), dir / "train.txt");
  const ToolRun run = run_scenarioc(dir.path(), {"compile", "line.txt", "train.txt"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(first_line(run.err),
            "scenarioc compile: cannot tell the scenario name: 'line.txt' is not named "
            "NAME_linea.txt and 'train.txt' is not named NAME_NUMBER-.txt; give it with --name "
            "NAME");
}

// Each source is opened once and must be a regular file: a FIFO would make
// the tool wait for a writer for ever, a device hand over endless bytes.
TEST(CompileCommandTest, UnreadableSourceStopsBeforeAnythingIsWritten) {
  const struct {
    const char* name;
    const char* line_file;
    const char* train_file;
    const char* error;
  } rows[] = {
      {"missing train file", "Prova_linea.txt", "Prova_2-.txt",
       "scenarioc: cannot open 'Prova_2-.txt': No such file or directory"},
      {"a folder for a train file", "Prova_linea.txt", "Prova_3-.txt",
       "scenarioc: cannot read 'Prova_3-.txt': it is a directory, not a regular file"},
      {"a FIFO for a train file", "Prova_linea.txt", "Prova_4-.txt",
       "scenarioc: cannot read 'Prova_4-.txt': it is a FIFO, not a regular file"},
      {"a folder for a line file", "Cartella_linea.txt", "Prova_1-.txt",
       "scenarioc: cannot read 'Cartella_linea.txt': it is a directory, not a regular file"},
      {"a FIFO for a line file", "Fifo_linea.txt", "Prova_1-.txt",
       "scenarioc: cannot read 'Fifo_linea.txt': it is a FIFO, not a regular file"},
      {"a device for a line file", "/dev/zero", "Prova_1-.txt",
       "scenarioc: cannot read '/dev/zero': it is a character device, not a regular file"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    copy_fixture("clean", dir.path());
    fs::create_directory(dir / "Prova_3-.txt");
    fs::create_directory(dir / "Cartella_linea.txt");
    ASSERT_EQ(::mkfifo((dir / "Prova_4-.txt").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "Fifo_linea.txt").c_str(), 0600), 0);
    const ToolRun run = run_scenarioc(
        dir.path(), {"compile", row.line_file, row.train_file, "--name", "Prova"}, 20);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(first_line(run.err), row.error);
    EXPECT_EQ(list_folder(dir.path()),
              (std::vector<std::string>{"Cartella_linea.txt", "Fifo_linea.txt", "Prova_1-.txt",
                                        "Prova_3-.txt", "Prova_4-.txt", "Prova_linea.txt"}));
  }
}

TEST(CompileCommandTest, CompiledFileNeverTakesTheSourcesPlace) {
  TempDir dir;
  fs::copy_file(fixture_path("clean/Prova_linea.txt"), dir / "Prova_1.dat");
  fs::copy_file(fixture_path("clean/Prova_1-.txt"), dir / "Prova_1-.txt");
  const ToolRun run =
      run_scenarioc(dir.path(), {"compile", "Prova_1.dat", "Prova_1-.txt", "--name", "Prova"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(first_line(run.err),
            "scenarioc compile: the compiled file './Prova_1.dat' would replace the source "
            "'Prova_1.dat'");
  EXPECT_EQ(read_file(dir / "Prova_1.dat"), read_file(fixture_path("clean/Prova_linea.txt")));
}

TEST(CompileCommandTest, UnwritableOutputIsAFailureWithTheReason) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  write_file(dir / "out", "a file, not a folder");
  const ToolRun run =
      run_scenarioc(dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt", "-o", "out"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(first_line(run.err).rfind("scenarioc: cannot create folder 'out': ", 0), 0u) << run.err;
}

// A compiled file that cannot be written ends the compile; what was recorded
// before is still told, as text only.
TEST(CompileCommandTest, RecordedErrorsPrecedeAWriteFailure) {
  const std::string diagnostic =
      "Prova_1-.txt:16:1: error 16: signal at 700 m: cell 15 already holds a speed-indicator "
      "board\n"
      "   16 | segnale,     700,   2, 4, 0,  0, 0,    2,  1,0,0, 0\n"
      "      | ^\n";
  const std::string failure =
      "scenarioc: cannot replace 'out/Prova_1.sim': Is a directory; none of the 3 files was "
      "replaced\n";
  const struct {
    const char* name;
    std::vector<std::string> flags;
    std::string starts;  // then its notes, if any, and the failure last
  } rows[] = {
      {"text", {"-o", "out"}, diagnostic},
      {"json", {"-o", "out", "--json"}, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    fs::create_directories(dir / "out" / "Prova_1.sim");
    const ToolRun run = compile_fixture(dir, "signal_on_speed_board", row.flags);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(row.starts, 0), 0u) << run.err;
    ASSERT_GE(run.err.size(), failure.size());
    EXPECT_EQ(run.err.substr(run.err.size() - failure.size()), failure);
    if (row.starts.empty()) {
      EXPECT_EQ(run.err, failure);
    }
  }
}

TEST(CompileCommandTest, JsonHoldsTheCompileState) {
  TempDir dir;
  const ToolRun run = compile_fixture(dir, "signal_on_speed_board", {"--json"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.empty()) << run.err;
  const JsonValue json = parse_json(run.out);
  EXPECT_EQ(json["nome"].text, "Prova");
  EXPECT_EQ(json["treno"].text, "1");
  EXPECT_EQ(json["codice_errore"].integer(), 16);
  EXPECT_EQ(json["posizione_errore"].integer(), 700);
  EXPECT_EQ(json["n"].integer(), 340);
  ASSERT_EQ(json["recordings"].size(), 1u);
  const JsonValue& r = json["recordings"][0];
  EXPECT_EQ(r["number"].integer(), 16);
  EXPECT_EQ(r["position"].integer(), 700);
  EXPECT_EQ(r["file"].text, "Prova_1-.txt");
  EXPECT_EQ(r["line"].integer(), 16);
  EXPECT_EQ(r["column"].integer(), 1);
  EXPECT_EQ(r["message"].text, "signal at 700 m: cell 15 already holds a speed-indicator board");
  EXPECT_EQ(r["diagnostic"].text, "Prova_1-.txt:16:1: error 16: " + r["message"].text);
  EXPECT_TRUE(json["fatal_error"].is_null());
  EXPECT_TRUE(json["cell_row_missing"].is_null());
  ASSERT_EQ(json["files_written"].size(), 3u);
  EXPECT_EQ(json["files_written"][0].text, "./Prova_linea.dat");
  EXPECT_EQ(json["files_written"][1].text, "./Prova_1.sim");
  EXPECT_EQ(json["files_written"][2].text, "./Prova_1.dat");
  EXPECT_EQ(json["exit_status"].integer(), 1);
}

TEST(CompileCommandTest, JsonOfRecordingsWithoutPositionOrLine) {
  {
    TempDir dir;
    const ToolRun run = compile_fixture(dir, "reference_off_grid", {"--json"});
    const JsonValue json = parse_json(run.out);
    const JsonValue& r = json["recordings"][0];
    EXPECT_EQ(r["number"].integer(), 2);
    EXPECT_TRUE(r["position"].is_null());
    EXPECT_EQ(r["file"].text, "Prova_linea.txt");
    EXPECT_EQ(r["line"].integer(), 3);  // the reference's record
    // Error 2 names no position: posizione_errore keeps its value from the start.
    EXPECT_EQ(json["posizione_errore"].integer(), 0);
  }
  {
    TempDir dir;
    const ToolRun run = compile_fixture(dir, "missing_line_file", {"--json"});
    const JsonValue json = parse_json(run.out);
    const JsonValue& r = json["recordings"][0];
    EXPECT_EQ(r["number"].integer(), 101);
    EXPECT_EQ(r["file"].text, "Prova_linea.txt");
    EXPECT_TRUE(r["line"].is_null());
    EXPECT_TRUE(r["column"].is_null());
  }
}

TEST(CompileCommandTest, JsonOfAFatalErrorAndOfNoCellRow) {
  {
    TempDir dir;
    const ToolRun run = compile_fixture(dir, "object_at_route_start", {"--json"});
    EXPECT_EQ(run.status, 2);
    const JsonValue json = parse_json(run.out);
    EXPECT_EQ(json["n"].integer(), 340);
    EXPECT_EQ(json["fatal_error"]["number"].integer(), 1250);
    EXPECT_EQ(json["fatal_error"]["file"].text, "Prova_linea.txt");
    EXPECT_EQ(json["fatal_error"]["line"].integer(), 19);
    EXPECT_EQ(json["fatal_error"]["column"].integer(), 1);
    EXPECT_EQ(json["fatal_error"]["diagnostic"].text.rfind("Prova_linea.txt:19:1: error 1250: ", 0),
              0u);
    EXPECT_EQ(json["files_written"].size(), 0u);
    EXPECT_EQ(json["exit_status"].integer(), 2);
  }
  {
    TempDir dir;
    const ToolRun run = compile_fixture(dir, "no_generale", {"--json"});
    EXPECT_EQ(run.status, 2);
    const JsonValue json = parse_json(run.out);
    EXPECT_EQ(json["codice_errore"].integer(), 102);
    EXPECT_TRUE(json["n"].is_null());
    EXPECT_TRUE(json["fatal_error"].is_null());
    EXPECT_EQ(json["cell_row_missing"].text.rfind("the parse stopped with error 102", 0), 0u);
    EXPECT_EQ(json["files_written"].size(), 0u);
  }
}

TEST(CompileCommandTest, JsonOfACleanCompile) {
  TempDir dir;
  const ToolRun run = compile_fixture(dir, "clean", {"--json"});
  EXPECT_EQ(run.status, 0);
  const JsonValue json = parse_json(run.out);
  EXPECT_EQ(json["codice_errore"].integer(), 0);
  EXPECT_EQ(json["n"].integer(), 340);
  EXPECT_EQ(json["recordings"].size(), 0u);
  EXPECT_EQ(json["files_written"].size(), 3u);
}

}  // namespace
}  // namespace scenario::testing
