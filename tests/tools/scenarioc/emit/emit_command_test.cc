// scenarioc emit: the built-in scenario as a starting point, which compiles to
// exactly what velmora_dorsel builds, and which emit never overwrites unasked.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kSources = {"Velmora_Dorsel_904-.txt", "Velmora_Dorsel_linea.txt"};
const std::vector<std::string> kDocuments = {"Velmora_Dorsel_904_note.txt",
                                             "Velmora_Dorsel_904_rallentamenti.txt",
                                             "Velmora_Dorsel_904_scheda_treno.txt"};
const std::vector<std::string> kCompiled = {"Velmora_Dorsel_904.dat", "Velmora_Dorsel_904.sim",
                                            "Velmora_Dorsel_linea.dat"};

// Runs velmora_dorsel copied into `folder`, where it writes its files.
void run_velmora_dorsel(const fs::path& folder) {
  fs::copy_file(SCENARIO_VELMORA_DORSEL, folder / "velmora_dorsel");
  const std::string command = "cd '" + folder.string() + "' && env -u DISPLAY ./velmora_dorsel";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(EmitCommandTest, EmitThenCompileGivesVelmoraDorselsFiles) {
  TempDir built;
  run_velmora_dorsel(built.path());
  TempDir dir;
  const ToolRun emitted = run_scenarioc(dir.path(), {"emit", "-o", "scenario"});
  ASSERT_EQ(emitted.status, 0) << emitted.err;
  const fs::path scenario = dir / "scenario";
  const ToolRun compiled = run_scenarioc(
      dir.path(),
      {"compile", "scenario/Velmora_Dorsel_linea.txt", "scenario/Velmora_Dorsel_904-.txt"});
  ASSERT_EQ(compiled.status, 0) << compiled.err;
  EXPECT_TRUE(compiled.err.empty()) << compiled.err;
  for (const std::string& name : kCompiled) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(read_file(scenario / name) == read_file(built / name));
  }
  for (const std::string& name : kDocuments) {
    SCOPED_TRACE(name);
    EXPECT_EQ(read_file(scenario / name), read_file(built / name));
  }
}

TEST(EmitCommandTest, WritesTheSourcesAndDocumentsIntoTheCurrentFolder) {
  TempDir dir;
  const ToolRun run = run_scenarioc(dir.path(), {"emit"});
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::string> expected = kSources;
  expected.insert(expected.end(), kDocuments.begin(), kDocuments.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(list_folder(dir.path()), expected);
  EXPECT_TRUE(has_line(run.out, "wrote ./Velmora_Dorsel_linea.txt")) << run.out;
  const std::vector<std::string> train = split_crlf(read_file(dir / "Velmora_Dorsel_904-.txt"));
  EXPECT_EQ(train.front(), "[generale]");
  EXPECT_EQ(train.back(), "[fine]");
}

TEST(EmitCommandTest, NeverOverwritesAnAuthorsFilesUnlessForced) {
  TempDir dir;
  write_file(dir / "Velmora_Dorsel_904-.txt", "my own train\r\n");
  const ToolRun refused = run_scenarioc(dir.path(), {"emit"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err,
            "scenarioc emit: './Velmora_Dorsel_904-.txt' already exists; emit does not overwrite "
            "an author's files (use --force to replace them); nothing was written\n");
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_904-.txt"});
  EXPECT_EQ(read_file(dir / "Velmora_Dorsel_904-.txt"), "my own train\r\n");

  const ToolRun forced = run_scenarioc(dir.path(), {"emit", "--force"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_NE(read_file(dir / "Velmora_Dorsel_904-.txt"), "my own train\r\n");
}

// Every name is checked before the first file is written: a folder in the
// last name's place, or a link that leads nowhere, leaves the folder as it was.
TEST(EmitCommandTest, ChecksEveryNameBeforeWritingAny) {
  const struct {
    const char* name;
    bool folder;  // else a dangling link
    bool force;
    const char* error;
  } rows[] = {
      {"a folder", true, false,
       "'./Velmora_Dorsel_904_scheda_treno.txt' already exists; emit does not overwrite an "
       "author's files (use --force to replace them)"},
      {"a folder, forced", true, true,
       "cannot replace './Velmora_Dorsel_904_scheda_treno.txt': Is a directory"},
      {"a dangling link", false, false,
       "'./Velmora_Dorsel_904_scheda_treno.txt' already exists; emit does not overwrite an "
       "author's files (use --force to replace them)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    const fs::path last = dir / "Velmora_Dorsel_904_scheda_treno.txt";
    if (row.folder) {
      fs::create_directory(last);
    } else {
      fs::create_symlink(dir / "nowhere" / "scheda.txt", last);
    }
    std::vector<std::string> args = {"emit"};
    if (row.force) args.push_back("--force");
    const ToolRun run = run_scenarioc(dir.path(), args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "scenarioc emit: " + std::string(row.error) + "; nothing was written\n");
    EXPECT_EQ(list_folder(dir.path()),
              std::vector<std::string>{"Velmora_Dorsel_904_scheda_treno.txt"});
    EXPECT_EQ(fs::is_symlink(last), !row.folder);
  }
}

// What the README shows a new author: emit, break a line, compile, read the diagnostic.
TEST(EmitCommandTest, BrokenLineOfTheEmittedTrainFileIsNamedByItsDiagnostic) {
  TempDir dir;
  ASSERT_EQ(run_scenarioc(dir.path(), {"emit", "-o", "myscenario"}).status, 0);
  const fs::path train = dir / "myscenario/Velmora_Dorsel_904-.txt";
  // Move the signal at 14800 m onto the speed-indicator board at 12700 m.
  std::vector<std::string> lines = split_crlf(read_file(train));
  size_t broken = 0;
  while (broken < lines.size() && !(lines[broken].rfind("segnale,", 0) == 0 &&
                                    lines[broken].find(" 14800,") != std::string::npos)) {
    ++broken;
  }
  ASSERT_LT(broken, lines.size());
  lines[broken].replace(lines[broken].find("14800"), 5, "12700");
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  write_file(train, text);

  const ToolRun run = run_scenarioc(dir.path(), {"compile", "myscenario/Velmora_Dorsel_linea.txt",
                                                 "myscenario/Velmora_Dorsel_904-.txt"});
  EXPECT_EQ(run.status, 1);
  // The diagnostic, its source line and caret (its notes may follow), and the count.
  const std::string diagnostic =
      "myscenario/Velmora_Dorsel_904-.txt:" + std::to_string(broken + 1) +
      ":1: error 16: signal at 12700 m: cell 255 already holds a "
      "speed-indicator board\n"
      "   " +
      std::to_string(broken + 1) + " | " + lines[broken] +
      "\n"
      "      | ^\n";
  const std::string count =
      "scenarioc: 1 error recorded; the compiled files were written all the same\n";
  EXPECT_EQ(run.err.rfind(diagnostic, 0), 0u) << run.err;
  ASSERT_GE(run.err.size(), count.size());
  EXPECT_EQ(run.err.substr(run.err.size() - count.size()), count);
  EXPECT_EQ(read_file(train), text);
}

}  // namespace
}  // namespace scenario::testing
