#pragma once

// Where a transformed text differs from the original, line by line, for
// --check (the first line of each changed stretch) and --diff (a unified
// diff that patch and git apply read).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort::cli {

// Lines oldFirst.. (oldCount of them) of the original became lines
// newFirst.. (newCount of them) of the result; lines counted from 0.
struct LineChange {
  std::size_t oldFirst = 0;
  std::size_t oldCount = 0;
  std::size_t newFirst = 0;
  std::size_t newCount = 0;

  bool operator==(const LineChange&) const = default;
};

// The changed stretches in text order. Lines are compared with their line
// ends. Linear in the texts (expected): after a difference the two sides
// are read on together until a line of one turns up in the other, which is
// exact for transforms that rewrite stretches in place, as re-flowing does.
std::vector<LineChange> lineChanges(std::string_view before, std::string_view after);

// A unified diff with three lines of context under "--- NAME" and
// "+++ NAME"; empty when the texts are the same.
std::string unifiedDiff(std::string_view name, std::string_view before, std::string_view after);

}  // namespace brindlewort::cli
