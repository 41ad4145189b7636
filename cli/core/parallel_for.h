#pragma once

// The one worker pool of brindle: tasks by index on a few threads, with
// results handed back in index order where their order matters.

#include <cstddef>
#include <functional>

namespace brindlewort::cli {

// The number of threads the machine runs at once (at least 1).
unsigned hardwareThreads();

// Calls task(i) for every i below count, on up to `threads` threads, each
// index once, in no particular order; returns when all are done. A task
// that throws does not stop the others: once all are done, the exception of
// the lowest index that threw is rethrown on the calling thread.
void parallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& task);

// Calls task(i) for every i below count on up to `threads` threads, and
// inOrder(i) on the calling thread for 0, 1, 2... each as soon as task(i)
// and every call before it are done. With one thread, everything runs on
// the calling thread, task(0), inOrder(0), task(1) and so on. A task that
// throws gets no inOrder call; its exception is rethrown as in parallelFor.
void parallelForInOrder(std::size_t count, unsigned threads,
                        const std::function<void(std::size_t)>& task,
                        const std::function<void(std::size_t)>& inOrder);

// parallelFor on up to `threads` threads, in the shape the reflow layer
// takes it.
std::function<void(std::size_t count, const std::function<void(std::size_t)>& task)> parallelRunner(
    unsigned threads);

}  // namespace brindlewort::cli
