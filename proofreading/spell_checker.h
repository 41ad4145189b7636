#pragma once

// What the spelling marker lines need from a spell checker: text in,
// results with UTF-16 ranges out.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "proofreading/slip_neighbours.h"

namespace brindlewort {

// Kind of a check result; only spelling results are marked.
inline constexpr int spellingResultType = 2;

struct TextCheckingResult {
  int resultType = spellingResultType;
  std::int64_t start = 0;   // UTF-16 code units into the checked text
  std::int64_t length = 0;  // UTF-16 code units
  friend bool operator==(const TextCheckingResult&, const TextCheckingResult&) = default;
};

class SpellChecker {
 public:
  virtual ~SpellChecker() = default;
  // Checks one piece of comment text (UTF-8) and returns its findings.
  virtual std::vector<TextCheckingResult> check(std::string_view text) const = 0;
  // Whether it knows a word one slip from `lower`, a lower-case word
  // (slip_neighbours.h). That asks some 54 made-up words per letter, so a
  // dictionary may remember the answer for the word instead.
  virtual bool knowsWordOneSlipFrom(std::string_view lower) const {
    return hasKnownNeighbour(lower, [this](std::string_view word) { return check(word).empty(); });
  }
};

}  // namespace brindlewort
