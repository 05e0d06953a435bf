// The folder lock and the temporary files on Windows: a second holder waits
// and is told so once; a temporary file of a process that is gone is removed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "base/folder_lock.h"
#include "base/temporary_files.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::list_folder;
using testing::TempDir;
using testing::write_file;

TEST(FolderLockWin32Test, SecondHolderWaitsForTheFirst) {
  TempDir dir;
  std::atomic<int> waits = 0;
  std::atomic<bool> second_holds = false;
  std::thread second;
  {
    FolderLock first(dir.path(), [] {});
    // A mutex is its owning thread's again at once: the second holder is
    // another thread, as another process would be.
    second = std::thread([&] {
      FolderLock lock(dir.path(), [&] { ++waits; });
      second_holds = true;
    });
    for (int i = 0; i < 2000 && waits == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(waits, 1);
    EXPECT_FALSE(second_holds);
  }
  second.join();
  EXPECT_TRUE(second_holds);
  // Every spelling of the folder is one lock, and nothing is left in it.
  EXPECT_TRUE(list_folder(dir.path()).empty());
}

TEST(TemporaryFilesWin32Test, StaleOnesGoOnlyWhenTheirProcessHasEnded) {
  TempDir dir;
  // No process has an id that is not a multiple of 4.
  const std::string gone = ".~2147483645-0.tmp";
  const std::string own = ".~" + std::to_string(current_process()) + "-0.tmp";
  write_file(dir / gone, "left by an ended process");
  write_file(dir / own, "this process's own");
  write_file(dir / (gone + "x"), "not a temporary name");
  remove_stale_temporaries(dir.path());
  std::vector<std::string> kept = {own, gone + "x"};
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(list_folder(dir.path()), kept);
}

}  // namespace
}  // namespace scenario
