#pragma once

// The most output brindle writes for one input. A few words under a long
// hanging indent would otherwise grow with the square of the input, and a
// hostile file could exhaust memory or disk.

#include <cstddef>

#include "base/result.h"

namespace brindlewort::cli {

// 16 times the input plus 1 MiB: far above what any real re-flow or
// proofreading result needs.
std::size_t outputBound(std::size_t inputSize);

// The error for an input whose result would pass the bound.
Error outputTooLarge(std::size_t inputSize);

}  // namespace brindlewort::cli
