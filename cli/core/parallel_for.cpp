#include "cli/core/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace brindlewort::cli {

unsigned hardwareThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

void parallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& task) {
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i = next++; i < count; i = next++) task(i);
  };
  const std::size_t helpers = std::min<std::size_t>(std::max(threads, 1u), count);
  std::vector<std::jthread> pool;
  for (std::size_t i = 1; i < helpers; ++i) pool.emplace_back(work);
  work();
}

}  // namespace brindlewort::cli
