#pragma once

#include <string_view>

// The two blanks that indentation and the gaps between words are made of.
// Other white space (a form feed, a no-break space) is text to every layer.

namespace brindlewort {

template <typename Char>
constexpr bool isSpaceOrTab(Char c) {
  return c == Char(' ') || c == Char('\t');
}

// Where the first blank at or after `at` stands, or text.size(). A plain
// loop: find_first_of(" \t") looks each byte up in the set with a call.
constexpr std::size_t blankFrom(std::string_view text, std::size_t at = 0) {
  while (at < text.size() && !isSpaceOrTab(text[at])) ++at;
  return at < text.size() ? at : text.size();
}

}  // namespace brindlewort
