// Runs that meet in one folder: two builds, or two compiles, started together
// take turns, and each leaves a whole set of files; a run ended by a signal
// leaves no temporary file, and one that died earlier has its temporary files
// removed by the next run. Every run is bounded in time and the repetitions
// in count.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_naming.h"
#include "base/file_set_journal.h"
#include "compiler/scenario_records.h"
#include "driver/program_runs.h"
#include "process_support.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::changed_files;
using testing::compile_command;
using testing::ended_process;
using testing::finish;
using testing::ProgramRun;
using testing::read_file;
using testing::run_in;
using testing::run_program;
using testing::Snapshot;
using testing::snapshot;
using testing::start_in;
using testing::StartedProgram;
using testing::TempDir;
using testing::temporary_files_in;
using testing::write_file;
using testing::write_two_scenarios;

constexpr int kRounds = 5;
const std::string kNome(kBuiltinNome);
const std::string kTreno(kBuiltinTreno);

// What a run that had to wait says, and nothing else.
bool says_at_most_that_it_waited(const ProgramRun& run, const std::string& program,
                                 const fs::path& folder) {
  return run.output.empty() ||
         run.output == program + ": waiting for another build in " + folder.string() + "\n";
}

TEST(ConcurrentRunsTest, TwoBuildsInOneFolderTakeTurns) {
  TempDir reference;
  fs::copy_file(SCENARIO_VELMORA_DORSEL, reference / "velmora_dorsel");
  ASSERT_EQ(run_program(reference.path()).status, 0);
  const Snapshot good = snapshot(reference.path());
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    TempDir dir;
    fs::copy_file(SCENARIO_VELMORA_DORSEL, dir / "velmora_dorsel");
    const StartedProgram first = start_in(dir.path(), {"./velmora_dorsel"});
    const StartedProgram second = start_in(dir.path(), {"./velmora_dorsel"});
    for (const ProgramRun& run : {finish(first, 60), finish(second, 60)}) {
      EXPECT_EQ(run.status, 0) << run.output;
      EXPECT_TRUE(says_at_most_that_it_waited(run, "velmora_dorsel", dir.path())) << run.output;
    }
    EXPECT_EQ(changed_files(good, snapshot(dir.path())), std::vector<std::string>{});
  }
}

TEST(ConcurrentRunsTest, TwoCompilesIntoOneFolderLeaveOneWholeSet) {
  TempDir dir;
  fs::copy_file(SCENARIO_SCENARIOC, dir / "scenarioc");
  write_two_scenarios(dir.path());
  for (const char* name : {"a", "b"}) {
    ASSERT_EQ(run_in(dir.path(), compile_command(name, std::string("ref_") + name)).status, 0);
  }
  const Snapshot from_a = snapshot(dir / "ref_a");
  const Snapshot from_b = snapshot(dir / "ref_b");
  ASSERT_NE(changed_files(from_a, from_b).size(), 0u);
  // Compiles are quicker than builds, and their renames meet less often.
  for (int round = 0; round < 4 * kRounds; ++round) {
    SCOPED_TRACE(round);
    const std::string out = "out" + std::to_string(round);
    const StartedProgram first = start_in(dir.path(), compile_command("a", out));
    const StartedProgram second = start_in(dir.path(), compile_command("b", out));
    for (const ProgramRun& run : {finish(first, 60), finish(second, 60)}) {
      EXPECT_EQ(run.status, 0) << run.output;
    }
    const Snapshot left = snapshot(dir / out);
    EXPECT_TRUE(changed_files(from_a, left).empty() || changed_files(from_b, left).empty())
        << "files from a: " << changed_files(from_b, left).size()
        << ", files from b: " << changed_files(from_a, left).size();
  }
}

// Whether the process has ended, without collecting it.
bool has_ended(pid_t pid) {
  siginfo_t info = {};
  return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == pid;
}

// Stops the program at a moment when a temporary file of it stands in
// `folder`; false when it ended first.
bool stop_with_a_temporary_file(const StartedProgram& program, const fs::path& folder) {
  while (!has_ended(program.pid)) {
    if (temporary_files_in(folder).empty()) continue;
    ::kill(program.pid, SIGSTOP);
    int status = 0;
    ::waitpid(program.pid, &status, WUNTRACED);
    if (WIFSTOPPED(status) && !temporary_files_in(folder).empty()) return true;
    ::kill(program.pid, SIGCONT);
  }
  return false;
}

// A program ended by SIGTERM or SIGINT while it writes a file removes its
// temporary files and still ends by the signal. Each attempt stops the
// program while a temporary file stands, then signals it.
TEST(ConcurrentRunsTest, InterruptedRunLeavesNoTemporaryFile) {
  constexpr int kAttempts = 30;
  const struct {
    const char* name;
    bool build;  // else a compile of the longest route
  } rows[] = {{"velmora_dorsel", true}, {"scenarioc compile", false}};
  for (const auto& row : rows) {
    for (const int signal_number : {SIGTERM, SIGINT}) {
      SCOPED_TRACE(std::string(row.name) + ", signal " + std::to_string(signal_number));
      bool interrupted = false;
      for (int attempt = 0; attempt < kAttempts && !interrupted; ++attempt) {
        TempDir dir;
        fs::path folder = dir.path();
        StartedProgram program;
        if (row.build) {
          fs::copy_file(SCENARIO_VELMORA_DORSEL, dir / "velmora_dorsel");
          program = start_in(dir.path(), {"./velmora_dorsel"});
        } else {
          fs::copy_file(SCENARIO_SCENARIOC, dir / "scenarioc");
          write_two_scenarios(dir.path());
          const fs::path line = dir / "a" / line_source_name(kNome);
          std::string text = read_file(line);
          text.replace(text.find("243000"), 6, "1000000");
          write_file(line, text);
          fs::create_directory(dir / "out");
          folder = dir / "out";
          program = start_in(dir.path(), compile_command("a", "out"));
        }
        interrupted = stop_with_a_temporary_file(program, folder);
        if (interrupted) {
          ::kill(program.pid, signal_number);
          ::kill(program.pid, SIGCONT);
        }
        const ProgramRun run = finish(program, 60);
        if (interrupted) {
          EXPECT_EQ(run.signal, signal_number) << run.output;
        }
        // Stopped after its journal was placed, a run leaves the staged files
        // for the next run, which finishes the set before anything else.
        if (fs::exists(folder / kJournalName)) {
          const ProgramRun next =
              finish(row.build ? start_in(dir.path(), {"./velmora_dorsel"})
                               : start_in(dir.path(), compile_command("a", "out")),
                     300);
          EXPECT_EQ(next.status, 0) << next.output;
          EXPECT_FALSE(fs::exists(folder / kJournalName));
        }
        EXPECT_EQ(temporary_files_in(folder), std::vector<std::string>{});
      }
      EXPECT_TRUE(interrupted) << "no attempt met a temporary file";
    }
  }
}

TEST(ConcurrentRunsTest, NextRunRemovesTemporaryFilesOfAnEndedProcess) {
  const std::string stale = ".~" + std::to_string(ended_process()) + "-0.tmp";
  TempDir dir;
  fs::copy_file(SCENARIO_VELMORA_DORSEL, dir / "velmora_dorsel");
  fs::copy_file(SCENARIO_SCENARIOC, dir / "scenarioc");
  write_two_scenarios(dir.path());
  fs::create_directory(dir / "out");
  for (const fs::path& folder : {dir.path(), dir / "out"}) {
    write_file(folder / stale, std::string(4096, 'x'));
  }
  EXPECT_EQ(run_program(dir.path()).status, 0);
  EXPECT_FALSE(fs::exists(dir / stale));
  EXPECT_EQ(run_in(dir.path(), compile_command("a", "out")).status, 0);
  EXPECT_FALSE(fs::exists(dir / "out" / stale));
}

}  // namespace
}  // namespace scenario
