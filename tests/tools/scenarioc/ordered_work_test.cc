// The work queue of the batch check hands results on in the order of the
// tasks, however the threads happen to finish.
#include "scenarioc/check/ordered_work.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace scenario::testing {
namespace {

TEST(OrderedWorkTest, ResultsArriveInTaskOrderWhateverTheTiming) {
  constexpr size_t kTasks = 24;
  for (unsigned workers : {1u, 2u, 5u, 64u}) {
    SCOPED_TRACE(workers);
    std::vector<size_t> delivered;
    std::set<std::thread::id> threads;
    std::mutex mutex;
    run_in_order<std::string>(
        kTasks, workers,
        [&](size_t i) {
          {
            const std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
          }
          // Early tasks take longest, so that later ones finish first.
          std::this_thread::sleep_for(std::chrono::milliseconds((kTasks - i) % 7));
          return std::to_string(i);
        },
        [&](size_t i, std::string result) {
          EXPECT_EQ(result, std::to_string(i));
          delivered.push_back(i);
        });
    std::vector<size_t> expected(kTasks);
    for (size_t i = 0; i < kTasks; ++i) expected[i] = i;
    EXPECT_EQ(delivered, expected);
    EXPECT_LE(threads.size(), std::min<size_t>(workers, kTasks));
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
  }
}

TEST(OrderedWorkTest, NoTaskNoThread) {
  bool called = false;
  run_in_order<int>(
      0, 4, [&](size_t) { return called = true, 0; }, [&](size_t, int) { called = true; });
  EXPECT_FALSE(called);
}

}  // namespace
}  // namespace scenario::testing
