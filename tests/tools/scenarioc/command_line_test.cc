// scenarioc's command line: help for the tool and each command, the version,
// and usage errors that say what is wrong.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

TEST(CommandLineTest, HelpAndVersion) {
  const struct {
    std::vector<std::string> args;
    const char* first_line;
  } rows[] = {
      {{"--help"},
       "scenarioc: the authoring tool of the scenario compiler. It compiles a scenario's"},
      {{"-h"}, "scenarioc: the authoring tool of the scenario compiler. It compiles a scenario's"},
      {{"help", "dump"}, "Usage: scenarioc dump FILE [--kind KIND] [--json] [--all] [--points]"},
      {{"compile", "--help"},
       "Usage: scenarioc compile LINE_FILE TRAIN_FILE [-o DIR] [--name NAME] [--train NUMBER] "
       "[--json]"},
      {{"emit", "--help"}, "Usage: scenarioc emit [-o DIR] [--force]"},
      {{"check", "--help"},
       "Usage: scenarioc check LINE_FILE TRAIN_FILE [--name NAME] [--train NUMBER] [options]"},
      {{"dump", "x.dat", "-h"},
       "Usage: scenarioc dump FILE [--kind KIND] [--json] [--all] [--points]"},
      {{"watch", "--help"},
       "Usage: scenarioc watch LINE_FILE TRAIN_FILE [-o DIR] [--report FILE.html] [--name NAME]"},
      {{"lsp", "--help"}, "Usage: scenarioc lsp"},
      {{"documents", "--help"},
       "Usage: scenarioc documents LINE_FILE TRAIN_FILE [-o DIR] [--name NAME] [--train NUMBER]"},
      {{"--version"}, "scenarioc " SCENARIO_VERSION},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args[0]);
    TempDir dir;
    const ToolRun run = run_scenarioc(dir.path(), row.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), row.first_line);
    EXPECT_TRUE(run.err.empty());
    EXPECT_TRUE(list_folder(dir.path()).empty());
  }
}

// A new author starts from --help alone: it shows how to emit, compile and read a diagnostic.
TEST(CommandLineTest, ToolHelpWalksThroughAFirstScenario) {
  TempDir dir;
  const std::string help = run_scenarioc(dir.path(), {"--help"}).out;
  for (const char* line : {
           "  scenarioc emit -o myscenario",
           "  scenarioc compile myscenario/Velmora_Dorsel_linea.txt "
           "myscenario/Velmora_Dorsel_904-.txt",
           "Each error is reported as FILE:LINE:COLUMN: error N: what is wrong, with the",
       }) {
    EXPECT_TRUE(has_line(help, line)) << line;
  }
}

TEST(CommandLineTest, UsageErrors) {
  const struct {
    std::vector<std::string> args;
    const char* error;
  } rows[] = {
      {{}, "scenarioc: no command given"},
      {{"build"}, "scenarioc: unknown command 'build'"},
      {{"compile", "a_linea.txt"}, "scenarioc: compile takes LINE_FILE TRAIN_FILE, 1 given"},
      {{"emit", "extra"}, "scenarioc: emit takes no file names, 1 given"},
      {{"dump"}, "scenarioc: dump takes FILE, 0 given"},
      {{"compile", "a", "b", "--name"}, "scenarioc: option '--name' needs a value"},
      {{"compile", "a", "b", "--json=yes"}, "scenarioc: option '--json' takes no value"},
      {{"emit", "--all"}, "scenarioc: unknown option '--all' for emit"},
      {{"check"}, "scenarioc: check takes LINE_FILE TRAIN_FILE or FOLDER..., 0 given"},
      {{"compile", "a", "b", "--color=sometimes"},
       "scenarioc: option '--color' takes auto, always or never, not 'sometimes'"},
      {{"check", "a", "-j", "x"},
       "scenarioc: option '--jobs' takes a number from 1 to 1024, not 'x'"},
      {{"compile", "a", "b", "-j2"}, "scenarioc: unknown option '-j2' for compile"},
      {{"dump", "x.dat", "-Werror"}, "scenarioc: unknown option '-Werror' for dump"},
      {{"watch", "a_linea.txt"}, "scenarioc: watch takes LINE_FILE TRAIN_FILE, 1 given"},
      {{"watch", "a", "b", "--json"}, "scenarioc: unknown option '--json' for watch"},
      {{"lsp", "a_linea.txt"}, "scenarioc: lsp takes no file names, 1 given"},
      {{"documents", "a_linea.txt"}, "scenarioc: documents takes LINE_FILE TRAIN_FILE, 1 given"},
      {{"documents", "a", "b", "--details"}, "scenarioc: option '--details' needs a value"},
      {{"documents", "a", "b", "--documents"},
       "scenarioc: unknown option '--documents' for documents"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.error);
    TempDir dir;
    const ToolRun run = run_scenarioc(dir.path(), row.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), row.error);
    EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
}

// -Wno-NAME with a name that is no warning class lists the names there are.
TEST(CommandLineTest, AnUnknownWarningNameListsTheNames) {
  for (const char* command : {"compile", "check"}) {
    SCOPED_TRACE(command);
    TempDir dir;
    const ToolRun run = run_scenarioc(dir.path(), {command, "a", "b", "-Wno-segnlae"});
    EXPECT_EQ(run.status, 2);
    const std::string first = run.err.substr(0, run.err.find('\n'));
    EXPECT_EQ(first.rfind("scenarioc: unknown warning 'segnlae' in '-Wno-segnlae'; the warnings "
                          "are: unknown-keyword, ambiguous-keyword, missing-value, ",
                          0),
              0u)
        << run.err;
    EXPECT_NE(run.err.find("Run 'scenarioc " + std::string(command) + " --help'"),
              std::string::npos);
  }
}

TEST(CommandLineTest, DoubleDashEndsTheOptions) {
  TempDir dir;
  copy_fixture("clean", dir.path());
  std::filesystem::rename(dir / "Prova_1-.txt", dir / "-Prova_1-.txt");
  const ToolRun run = run_scenarioc(
      dir.path(), {"compile", "--train", "1", "--", "Prova_linea.txt", "-Prova_1-.txt"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(dir / "Prova_1.sim"));
}

}  // namespace
}  // namespace scenario::testing
