// scenarioc decompile: a compiled set back to its two sources, which compile
// to the same bytes; damaged sets refused with the place of the fault and
// nothing written; sets from compiles with recorded errors written with a
// warning; and scenarioc report drawing a compiled set.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "scenarioc/command_line.h"
#include "scenarioc/decompile/compiled_set_files.h"
#include "test_support.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kSetFiles = {"Velmora_Dorsel_linea.dat", "Velmora_Dorsel_904.sim",
                                            "Velmora_Dorsel_904.dat"};

// The built-in scenario emitted into `dir`/src and compiled into `dir`/set.
void compile_builtin(const TempDir& dir) {
  ASSERT_EQ(run_scenarioc(dir.path(), {"emit", "-o", "src"}).status, 0);
  ASSERT_EQ(run_scenarioc(dir.path(), {"compile", "src/Velmora_Dorsel_linea.txt",
                                       "src/Velmora_Dorsel_904-.txt", "-o", "set"})
                .status,
            0);
}

TEST(DecompileCommandTest, TheBuiltInSetComesBackAsSourcesThatCompileToTheSameBytes) {
  TempDir dir;
  compile_builtin(dir);
  const ToolRun run = run_scenarioc(
      dir.path(), {"decompile", "set/Velmora_Dorsel_linea.dat", "set/Velmora_Dorsel_904.sim",
                   "set/Velmora_Dorsel_904.dat", "-o", "back"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote back/Velmora_Dorsel_linea.txt\nwrote back/Velmora_Dorsel_904-.txt\n");
  EXPECT_EQ(run.err, "");
  ASSERT_EQ(run_scenarioc(dir.path(), {"compile", "back/Velmora_Dorsel_linea.txt",
                                       "back/Velmora_Dorsel_904-.txt", "-o", "again"})
                .status,
            0);
  for (const std::string& name : kSetFiles) {
    EXPECT_EQ(read_file(dir / "again" / name), read_file(dir / "set" / name)) << name;
  }
  // The emitted text but for what a compiled set cannot hold: the spacing of
  // three curve rows and a gradient record that repeats the one before it.
  const std::vector<std::string> line =
      split_crlf(read_file(dir / "back/Velmora_Dorsel_linea.txt"));
  const std::vector<std::string> emitted =
      split_crlf(read_file(dir / "src/Velmora_Dorsel_linea.txt"));
  EXPECT_EQ(line.size() + 1, emitted.size());
  EXPECT_EQ(read_file(dir / "back/Velmora_Dorsel_904-.txt"),
            read_file(dir / "src/Velmora_Dorsel_904-.txt"));
}

TEST(DecompileCommandTest, AFolderHoldingOneSetIsDecompiledBesideIt) {
  TempDir dir;
  compile_builtin(dir);
  const ToolRun run = run_scenarioc(dir.path(), {"decompile", "set", "--name", "Copia"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote set/Copia_linea.txt\nwrote set/Copia_904-.txt\n");
  // The sources are never overwritten, and nothing is written when one exists.
  const ToolRun again = run_scenarioc(dir.path(), {"decompile", "set", "--name", "Copia"});
  EXPECT_EQ(again.status, 2);
  EXPECT_NE(again.err.find("'set/Copia_linea.txt' already exists"), std::string::npos) << again.err;
}

TEST(DecompileCommandTest, ArgumentsThatNameNoSetAreUsageErrors) {
  TempDir dir;
  compile_builtin(dir);
  fs::create_directory(dir / "empty");
  fs::create_directory(dir / "two");
  for (const std::string& name : kSetFiles) fs::copy_file(dir / "set" / name, dir / "two" / name);
  fs::copy_file(dir / "set/Velmora_Dorsel_904.sim", dir / "two/Velmora_Dorsel_905.sim");
  fs::copy_file(dir / "set/Velmora_Dorsel_904.dat", dir / "two/Velmora_Dorsel_905.dat");
  const struct {
    std::vector<std::string> args;
    std::string error;
  } kCases[] = {
      {{"decompile", "empty"}, "no compiled set in 'empty'"},
      {{"decompile", "two"}, "'two' holds 2 compiled sets"},
      {{"decompile", "set/Velmora_Dorsel_linea.dat", "set/Velmora_Dorsel_904.sim"},
       "decompile takes TRACK_PLAN STATION_TABLE CELLS or FOLDER, 2 given"},
      {{"decompile"}, "decompile takes"},
      {{"decompile", "missing"}, "there is no folder 'missing'"},
      {{"decompile", "set/Velmora_Dorsel_904.sim"}, "'set/Velmora_Dorsel_904.sim' is not a folder"},
      {{"decompile", "set", "--name", "a/b"}, "the scenario name 'a/b' holds a path separator"},
  };
  for (const auto& c : kCases) {
    const ToolRun run = run_scenarioc(dir.path(), c.args);
    EXPECT_EQ(run.status, 2) << c.error;
    EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
  }
}

// Each fault in one byte, the file and place the refusal names.
TEST(DecompileCommandTest, ADamagedSetIsRefusedWithThePlaceOfTheFault) {
  const struct {
    std::string file;
    size_t offset;
    char value;
    std::string error;
  } kCases[] = {
      {"Velmora_Dorsel_904.dat", 15 * 3000, 5,
       "set/Velmora_Dorsel_904.dat: cell 3000 (149950 m): a countdown marker"},
      {"Velmora_Dorsel_904.dat", 15 * 3000 + 10, 33,
       "set/Velmora_Dorsel_904.dat: cell 3000 (149950 m): the approach mark 33"},
      {"Velmora_Dorsel_904.dat", 15 * 3000, 9, "set/Velmora_Dorsel_904.dat: byte 45000: cell 3000"},
      {"Velmora_Dorsel_linea.dat", 8 + 10 * 5000 + 5, 1,
       "set/Velmora_Dorsel_linea.dat: metre 5002: the point"},
      {"Velmora_Dorsel_904.sim", 0, 7, "set/Velmora_Dorsel_904.sim: byte 0: record 0"},
  };
  for (const auto& c : kCases) {
    TempDir dir;
    compile_builtin(dir);
    std::string bytes = read_file(dir / "set" / c.file);
    bytes[c.offset] = c.value;
    write_file(dir / "set" / c.file, bytes);
    const ToolRun run = run_scenarioc(dir.path(), {"decompile", "set", "-o", "back"});
    EXPECT_EQ(run.status, 2) << c.error;
    EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "back")) << c.error;
  }
}

// A compile that stopped on error 22 wrote its files all the same: they come
// back, with the error their sources record again.
TEST(DecompileCommandTest, ASetCompiledWithRecordedErrorsComesBackWithAWarning) {
  TempDir dir;
  copy_fixture("stations_too_close", dir.path());
  ASSERT_EQ(
      run_scenarioc(dir.path(), {"compile", "Prova_linea.txt", "Prova_1-.txt", "-o", "set"}).status,
      1);
  const ToolRun run = run_scenarioc(dir.path(), {"decompile", "set", "-o", "back"});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_TRUE(has_line(run.err,
                       "scenarioc decompile: warning: compiling the sources records an "
                       "error, as the compile that wrote the set did"))
      << run.err;
  EXPECT_NE(run.err.find("Prova_1-.txt:"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("error 22"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::exists(dir / "back/Prova_linea.txt"));
}

// What report does with a compiled set, and what any other command may do:
// the decompiled sources compiled in memory under the names decompile gives them.
TEST(DecompileCommandTest, ACompiledSetStandsForItsDecompiledSources) {
  TempDir dir;
  compile_builtin(dir);
  const CommandLine line =
      parse_command_line({"report", (dir / "set").string(), "--name", "Copia"});
  const CompiledSetScenario set = compiled_set_scenario(line);
  EXPECT_EQ(set.paths.station_table, dir / "set/Velmora_Dorsel_904.sim");
  EXPECT_EQ(set.scenario.line_file, dir / "set/Copia_linea.txt");
  EXPECT_EQ(set.scenario.treno, "904");
  EXPECT_TRUE(set.warnings.empty());
  set.compiled->compile();
  const Compilation& compiled = set.compiled->compilation();
  EXPECT_TRUE(compiled.result.wrote_files());
  EXPECT_TRUE(compiled.trail.recordings.empty());
  EXPECT_EQ(compiled.tabella[kEntryScenario].testo, "Copia");
  EXPECT_EQ(set.compiled->sources().display_name(SourceFile::train),
            (dir / "set/Copia_904-.txt").string());
}

TEST(DecompileCommandTest, ReportDrawsACompiledSet) {
  TempDir dir;
  compile_builtin(dir);
  const ToolRun run = run_scenarioc(dir.path(), {"report", "set", "-o", "set.html"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote set.html\n");
  const std::string page = read_file(dir / "set.html");
  EXPECT_NE(page.find("The compiler recorded no error and no warning."), std::string::npos);
  EXPECT_NE(page.find("Velmora_Dorsel_904-.txt"), std::string::npos);
  // Nothing written beside the set.
  EXPECT_EQ(list_folder(dir / "set"),
            (std::vector<std::string>{"Velmora_Dorsel_904.dat", "Velmora_Dorsel_904.sim",
                                      "Velmora_Dorsel_linea.dat"}));
}

}  // namespace
}  // namespace scenario::testing
