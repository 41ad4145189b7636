#include "cli/core/output_bound.h"

#include <limits>
#include <string>

namespace brindlewort::cli {

std::size_t outputBound(std::size_t inputSize) {
  constexpr std::size_t factor = 16, slack = std::size_t{1} << 20;
  if (inputSize > (std::numeric_limits<std::size_t>::max() - slack) / factor) {
    return std::numeric_limits<std::size_t>::max();
  }
  return inputSize * factor + slack;
}

Error outputTooLarge(std::size_t inputSize) {
  return {"the result would be larger than " + std::to_string(outputBound(inputSize)) +
          " bytes (16 times the input plus 1 MiB); nothing written"};
}

}  // namespace brindlewort::cli
