#include "cli/core/parallel_for.h"

#include <gtest/gtest.h>

#include <algorithm>
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

}  // namespace
}  // namespace brindlewort::cli
