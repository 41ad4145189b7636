#include "cli/core/parallel_for.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

namespace brindlewort::cli {
namespace {

// Results are handed on in index order whatever order the tasks finish in;
// with one thread nothing leaves the calling thread (lint's bus connection
// belongs to it).
TEST(ParallelForInOrder, HandsResultsOnInOrder) {
  for (const unsigned threads : {1u, 4u}) {
    SCOPED_TRACE(threads);
    constexpr std::size_t count = 40;
    std::vector<std::thread::id> taskThreads(count);
    std::size_t handed = 0;
    parallelForInOrder(
        count, threads,
        [&](std::size_t i) {
          // Early tasks take longest, so that later ones finish first.
          std::this_thread::sleep_for(std::chrono::microseconds((count - i) * 50));
          taskThreads[i] = std::this_thread::get_id();
        },
        [&](std::size_t i) {
          EXPECT_EQ(i, handed++);
          EXPECT_NE(taskThreads[i], std::thread::id()) << i;  // its task is done
        });
    EXPECT_EQ(handed, count);
    const auto onCaller = std::count(taskThreads.begin(), taskThreads.end(), std::this_thread::get_id());
    EXPECT_EQ(onCaller, threads == 1 ? std::ptrdiff_t(count) : 0);
  }
}

// A task that throws on a worker thread must not end the process: the
// others still run, and the lowest index's exception reaches the caller.
TEST(ParallelForInOrder, TaskFailureReachesTheCallerAfterTheOthers) {
  for (const unsigned threads : {1u, 3u}) {
    SCOPED_TRACE(threads);
    std::vector<char> ran(20, 0), handed(20, 0);
    try {
      parallelForInOrder(
          ran.size(), threads,
          [&](std::size_t i) {
            if (i == 7) throw std::bad_alloc();
            if (i == 9) throw std::runtime_error("nine");
            ran[i] = 1;
          },
          [&](std::size_t i) { handed[i] = 1; });
      ADD_FAILURE() << "no exception";
    } catch (const std::bad_alloc&) {
    }
    for (std::size_t i = 0; i < ran.size(); ++i) {
      const bool failing = i == 7 || i == 9;
      EXPECT_EQ(ran[i], failing ? 0 : 1) << i;
      EXPECT_EQ(handed[i], failing ? 0 : 1) << i;
    }
  }
}

}  // namespace
}  // namespace brindlewort::cli
