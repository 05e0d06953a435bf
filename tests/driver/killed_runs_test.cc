// Runs killed outright (SIGKILL) right after each rename they make, one kill
// point after another until the run completes: the next run in the folder
// first makes the set whole, finishing the interrupted one (or, when none of
// its files had been renamed, discarding it), says so in one line, and leaves
// no journal or temporary file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_naming.h"
#include "driver/program_runs.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::ChildLimits;
using testing::compile_command;
using testing::lines_of;
using testing::list_folder;
using testing::ProgramRun;
using testing::read_file;
using testing::run_in;
using testing::TempDir;
using testing::write_file;
using testing::write_two_scenarios;

// More renames than any run makes: the build writes eight files.
constexpr int kMostRenames = 40;
const std::string kNome(kBuiltinNome);
const std::string kTreno(kBuiltinTreno);

// The three compiled files, in the order they are renamed.
using FileSetBytes = std::vector<std::string>;

FileSetBytes compiled_set(const fs::path& folder) {
  FileSetBytes set;
  for (const std::string& name : {track_plan_name(kNome), station_table_name(kNome, kTreno),
                                  route_cells_name(kNome, kTreno)}) {
    set.push_back(fs::exists(folder / name) ? read_file(folder / name) : "(missing)");
  }
  return set;
}

std::vector<std::string> dump_command(const std::string& folder) {
  return {"./scenarioc", "dump", folder + "/" + route_cells_name(kNome, kTreno)};
}

ChildLimits killed_after_rename(int count) {
  ChildLimits limits;
  // A sanitized program wants its runtime first; the module does not need it.
  limits.environment = {std::string("LD_PRELOAD=") + SCENARIO_RENAME_KILL,
                        "SCENARIO_KILL_AFTER_RENAME=" + std::to_string(count),
                        "ASAN_OPTIONS=verify_asan_link_order=0"};
  return limits;
}

// Names a run leaves behind: the journal and temporary files start with ".~".
std::vector<std::string> leftovers(const fs::path& folder) {
  std::vector<std::string> left;
  for (const std::string& name : list_folder(folder)) {
    if (name.starts_with(".~")) left.push_back(name);
  }
  return left;
}

// A folder with the programs, the two scenarios, and the set of b compiled
// into `out` (`.` for the build's own folder).
void prepare(const fs::path& dir, const std::string& out) {
  fs::copy_file(SCENARIO_SCENARIOC, dir / "scenarioc");
  fs::copy_file(SCENARIO_VELMORA_DORSEL, dir / "velmora_dorsel");
  write_two_scenarios(dir);
  ASSERT_EQ(run_in(dir, compile_command("b", out)).status, 0);
}

struct Writer {
  const char* name;
  std::string out;  // the folder it writes its set into
  std::vector<std::string> command;
};

const Writer kWriters[] = {
    {"scenarioc compile", "out", compile_command("a", "out")},
    {"velmora_dorsel", ".", {"./velmora_dorsel"}},
};

// What the next run printed before its own output: the recovery's line.
struct NextRun {
  std::string line;  // "" when it had nothing to finish or discard
  std::string rest;
};

NextRun split_recovery_line(const std::string& output, const std::string& program) {
  const std::vector<std::string> lines = lines_of(output);
  if (!lines.empty() &&
      (lines[0].starts_with(program + ": finished the replacement of ") ||
       lines[0].starts_with(program + ": discarded the unfinished replacement"))) {
    return {lines[0], output.substr(lines[0].size() + 1)};
  }
  return {"", output};
}

// "finished", "discarded" or "" for a recovery line of any program.
std::string outcome_of(const std::string& line) {
  for (const char* word : {"finished", "discarded"}) {
    if (line.find(": " + std::string(word) + " the ") != std::string::npos) return word;
  }
  return "";
}

TEST(KilledRunsTest, NextRunFindsOneWholeSetAndSaysWhatItDid) {
  for (const Writer& writer : kWriters) {
    SCOPED_TRACE(writer.name);
    TempDir reference;
    prepare(reference.path(), writer.out);
    const FileSetBytes old_set = compiled_set(reference / writer.out);
    ASSERT_EQ(run_in(reference.path(), writer.command).status, 0);
    const FileSetBytes new_set = compiled_set(reference / writer.out);
    const std::string whole_dump = run_in(reference.path(), dump_command(writer.out)).output;
    for (size_t i = 0; i < new_set.size(); ++i) ASSERT_NE(old_set[i], new_set[i]) << i;

    int finished = 0, discarded = 0, kills = 0;
    for (int count = 1; count <= kMostRenames; ++count) {
      SCOPED_TRACE("killed after rename " + std::to_string(count));
      TempDir dir;
      prepare(dir.path(), writer.out);
      const ProgramRun killed = run_in(dir.path(), writer.command, killed_after_rename(count));
      if (killed.signal == 0) {
        EXPECT_EQ(killed.status, 0) << killed.output;
        break;
      }
      ++kills;
      // The build's next run is itself, which rebuilds the set: it runs in a
      // copy of the folder, and the reader shows what the set was made.
      TempDir copy;
      fs::copy(dir.path(), copy.path(), fs::copy_options::recursive);
      const ProgramRun next = run_in(dir.path(), dump_command(writer.out));
      const NextRun said = split_recovery_line(next.output, "scenarioc");
      const FileSetBytes found = compiled_set(dir / writer.out);
      EXPECT_TRUE(found == old_set || found == new_set) << "a mixed set after " << said.line;
      EXPECT_EQ(next.status, 0) << next.output;
      EXPECT_EQ(leftovers(dir / writer.out), std::vector<std::string>{});
      if (outcome_of(said.line) == "finished") {
        ++finished;
        EXPECT_EQ(found, new_set);
        EXPECT_EQ(said.rest, whole_dump);
      } else if (!said.line.empty()) {
        ++discarded;
        EXPECT_EQ(found, old_set);
      }
      if (writer.out == ".") {
        const ProgramRun build = run_in(copy.path(), {"./velmora_dorsel"});
        EXPECT_EQ(build.status, 0) << build.output;
        EXPECT_EQ(outcome_of(split_recovery_line(build.output, "velmora_dorsel").line),
                  outcome_of(said.line))
            << build.output;
        EXPECT_EQ(leftovers(copy.path()), std::vector<std::string>{});
      }
    }
    EXPECT_GT(kills, 0);
    // Killed right after the journal was placed, and between renames.
    EXPECT_EQ(discarded, 1);
    EXPECT_EQ(finished, 2);
  }
}

// A recovery killed in its turn is finished by the run after it.
TEST(KilledRunsTest, KilledRecoveryIsFinishedByTheRunAfter) {
  TempDir dir;
  prepare(dir.path(), "out");
  // The journal, then the track plan: killed between the set's renames.
  ASSERT_EQ(run_in(dir.path(), compile_command("a", "out"), killed_after_rename(2)).signal, 9);
  ASSERT_EQ(run_in(dir.path(), dump_command("out"), killed_after_rename(1)).signal, 9);
  const ProgramRun next = run_in(dir.path(), dump_command("out"));
  EXPECT_EQ(next.status, 0) << next.output;
  EXPECT_NE(split_recovery_line(next.output, "scenarioc").line, "") << next.output;
  TempDir reference;
  prepare(reference.path(), "out");
  ASSERT_EQ(run_in(reference.path(), compile_command("a", "out")).status, 0);
  EXPECT_EQ(compiled_set(dir / "out"), compiled_set(reference / "out"));
  EXPECT_EQ(leftovers(dir / "out"), std::vector<std::string>{});
}

}  // namespace
}  // namespace scenario
