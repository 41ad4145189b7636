#pragma once

// Which words of a comment are prose that a dictionary should judge. Our
// readers write about code, so identifiers, abbreviations, URLs, e-mail
// addresses, paths, numbers and anything in backticks are left alone.

#include <cstdint>
#include <vector>

#include <unicode/unistr.h>

namespace brindlewort {

struct WordSpan {
  std::int32_t start = 0;   // UTF-16 units
  std::int32_t length = 0;  // UTF-16 units
  friend bool operator==(const WordSpan&, const WordSpan&) = default;
};

// Words of letters as ICU's word break iterator finds them ("don't" and
// "user's" are one word each), in order, minus those that look like code.
std::vector<WordSpan> proseWords(const icu::UnicodeString& text);

}  // namespace brindlewort
