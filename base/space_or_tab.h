#pragma once

// The two blanks that indentation and the gaps between words are made of.
// Other white space (a form feed, a no-break space) is text to every layer.

namespace brindlewort {

template <typename Char>
constexpr bool isSpaceOrTab(Char c) {
  return c == Char(' ') || c == Char('\t');
}

}  // namespace brindlewort
