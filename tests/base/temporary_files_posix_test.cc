// Temporary files: the form of their names, their removal when a signal ends
// the process, and the removal of those that an ended process left behind.
#include "base/temporary_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "base/replace_file.h"
#include "process_support.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::ended_process;
using testing::list_folder;
using testing::TempDir;
using testing::write_file;

TEST(TemporaryFilesTest, NamesCarryTheProcessAndAreShort) {
  const std::string first = next_temporary_name();
  const std::string second = next_temporary_name();
  EXPECT_NE(first, second);
  EXPECT_EQ(temporary_name_owner(first), ::getpid());
  EXPECT_LE(first.size(), 2u + 10 + 1 + 20 + 4);
  EXPECT_EQ(first.rfind(".~" + std::to_string(::getpid()) + "-", 0), 0u) << first;
}

TEST(TemporaryFilesTest, OnlyExactNamesHaveAnOwner) {
  const struct {
    const char* name;
    pid_t owner;  // 0: none
  } rows[] = {
      {".~4711-0.tmp", 4711},
      {".~4711-12.tmp", 4711},
      {".~2147483647-0.tmp", 2147483647},
      {".~4711-0.tmpx", 0},
      {"x.~4711-0.tmp", 0},
      {".~04711-0.tmp", 0},
      {".~4711-00.tmp", 0},
      {".~4711.tmp", 0},
      {".~-1-0.tmp", 0},
      {".~0-0.tmp", 0},
      {".~2147483648-0.tmp", 0},
      {".~4711-0", 0},
      {".Velmora_Dorsel_904.dat.4711-0.tmp", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<pid_t> owner = temporary_name_owner(row.name);
    EXPECT_EQ(owner.value_or(0), row.owner);
  }
}

std::string temporary_of(pid_t pid) { return ".~" + std::to_string(pid) + "-0.tmp"; }

TEST(TemporaryFilesTest, StaleOnesGoOnlyWhenTheirProcessHasEnded) {
  TempDir dir;
  const pid_t ended = ended_process();
  write_file(dir / temporary_of(ended), "left by an ended process");
  write_file(dir / temporary_of(::getppid()), "a live process's");
  write_file(dir / temporary_of(::getpid()), "this process's own");
  write_file(dir / (temporary_of(ended) + "x"), "not a temporary name");
  fs::create_directory(dir / (".~" + std::to_string(ended) + "-1.tmp"));  // not a file
  write_file(dir / "Velmora_Dorsel_904.dat", "a compiled file");
  remove_stale_temporaries(dir.path());
  const std::vector<std::string> kept = {temporary_of(::getppid()), temporary_of(::getpid()),
                                         ".~" + std::to_string(ended) + "-1.tmp",
                                         temporary_of(ended) + "x", "Velmora_Dorsel_904.dat"};
  std::vector<std::string> expected = kept;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(list_folder(dir.path()), expected);
}

// A child that stages files and is ended by `signal_number` while it writes
// the third one; returns how it ended.
int status_of_signalled_writer(const fs::path& folder, int signal_number) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(signal_number, SIG_DFL);  // as a program started from a shell finds it
    install_signal_handling();
    FileSet set(folder);
    set.stage("Velmora_Dorsel_linea.dat", [](const BlockSink& put) { put("linea"); });
    set.stage("Velmora_Dorsel_904.sim", [](const BlockSink& put) { put("sim"); });
    set.stage("Velmora_Dorsel_904.dat", [&](const BlockSink& put) {
      put("met");
      ::raise(signal_number);
      put("a");
    });
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return status;
}

TEST(TemporaryFilesTest, EndingSignalsRemoveEveryTemporaryFile) {
  for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal_number);
    TempDir dir;
    write_file(dir / "Velmora_Dorsel_904.dat", "vecchio");
    const int status = status_of_signalled_writer(dir.path(), signal_number);
    // The process still ends by the signal, as its parent expects.
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), signal_number);
    EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_904.dat"});
  }
}

}  // namespace
}  // namespace scenario
