#pragma once

// A stretch of whole lines of a text, the way every layer above the engine
// counts them: from 0, both ends included. Front ends convert at their edge
// (the CLI's --lines counts from 1).

#include <cstddef>

namespace brindlewort {

struct LineSpan {
  std::size_t first = 0;
  std::size_t last = 0;
  friend bool operator==(const LineSpan&, const LineSpan&) = default;
};

}  // namespace brindlewort
