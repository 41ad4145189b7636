#pragma once

#include <cstddef>
#include <functional>

namespace brindlewort::cli {

// The number of threads the machine runs at once (at least 1).
unsigned hardwareThreads();

// Calls task(i) for every i below count, on up to `threads` threads (the
// calling thread included), each index once, in no particular order.
void parallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& task);

}  // namespace brindlewort::cli
