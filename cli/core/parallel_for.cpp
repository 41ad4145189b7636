#include "cli/core/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace brindlewort::cli {

unsigned hardwareThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

void parallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& task) {
  // Waiting for each index in turn costs a lock per task: nothing beside a
  // whole piece of text.
  parallelForInOrder(count, threads, task, [](std::size_t) {});
}

std::function<void(std::size_t, const std::function<void(std::size_t)>&)> parallelRunner(unsigned threads) {
  return [threads](std::size_t count, const std::function<void(std::size_t)>& task) {
    parallelFor(count, threads, task);
  };
}

void parallelForInOrder(std::size_t count, unsigned threads,
                        const std::function<void(std::size_t)>& task,
                        const std::function<void(std::size_t)>& inOrder) {
  const std::size_t workers = std::min<std::size_t>(std::max(threads, 1u), count);
  std::exception_ptr firstFailure;
  if (workers <= 1) {
    // Some tasks (a bus connection) belong to the thread that set them up.
    for (std::size_t i = 0; i < count; ++i) {
      try {
        task(i);
      } catch (...) {
        if (!firstFailure) firstFailure = std::current_exception();
        continue;
      }
      inOrder(i);
    }
    if (firstFailure) std::rethrow_exception(firstFailure);
    return;
  }
  // The calling thread only hands results on, so that a finished one never
  // waits behind a long task of its own.
  // An exception must not leave a worker thread, where it would end the
  // whole process: it waits here for the calling thread.
  std::vector<std::exception_ptr> failures(count);
  std::vector<char> done(count, 0);
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i = next++; i < count; i = next++) {
      try {
        task(i);
      } catch (...) {
        failures[i] = std::current_exception();
      }
      {
        std::lock_guard lock(mutex);
        done[i] = 1;
      }
      finished.notify_all();
    }
  };
  std::vector<std::jthread> pool;
  for (std::size_t i = 0; i < workers; ++i) pool.emplace_back(work);
  for (std::size_t i = 0; i < count; ++i) {
    {
      std::unique_lock lock(mutex);
      finished.wait(lock, [&] { return done[i] != 0; });
    }
    if (failures[i]) {
      if (!firstFailure) firstFailure = failures[i];
      continue;
    }
    inOrder(i);
  }
  pool.clear();
  if (firstFailure) std::rethrow_exception(firstFailure);
}

}  // namespace brindlewort::cli
