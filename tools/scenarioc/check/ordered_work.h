// Runs independent tasks on several threads and hands their results on in the
// order of the tasks, whatever order they finish in: a work queue for the
// batch check.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace scenario {

// How many threads to use when the user says nothing: one per processor.
inline unsigned default_workers() { return std::max(1u, std::thread::hardware_concurrency()); }

// Calls `task(i)` for every i below `count` on up to `workers` threads, each
// thread taking the next index from a shared counter, and `deliver(i, result)`
// on the calling thread for i = 0, 1, 2 ... as soon as result i is ready.
// `task` must not throw.
template <typename Result, typename Task, typename Deliver>
void run_in_order(size_t count, unsigned workers, Task task, Deliver deliver) {
  std::vector<std::optional<Result>> results(count);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i; (i = next.fetch_add(1)) < count;) {
      Result result = task(i);
      const std::lock_guard lock(mutex);
      results[i] = std::move(result);
      ready.notify_one();
    }
  };
  const size_t threads = std::min<size_t>(std::max(1u, workers), count);
  std::vector<std::thread> pool;
  pool.reserve(threads);
  for (size_t t = 0; t < threads; ++t) {
    try {
      pool.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // the threads started do the work
    }
  }
  if (pool.empty()) work();
  for (size_t i = 0; i < count; ++i) {
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] { return results[i].has_value(); });
    Result result = std::move(*results[i]);
    results[i].reset();
    lock.unlock();
    deliver(i, std::move(result));
  }
  for (std::thread& thread : pool) thread.join();
}

}  // namespace scenario
