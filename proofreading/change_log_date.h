#pragma once

// "2003-06-15 ": the date that opens a change log's line, which the name of
// the entry's writer follows.

#include <string_view>

namespace brindlewort {

// The date's characters, before its blank.
inline constexpr std::size_t changeLogDateSize = 10;

// Whether the text opens with such a date and a blank after it.
template <typename Char>
bool opensWithChangeLogDate(std::basic_string_view<Char> text) {
  constexpr std::string_view shape = "dddd-dd-dd ";
  static_assert(shape.size() == changeLogDateSize + 1);
  if (text.size() < shape.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const Char c = text[i];
    const bool fits = shape[i] == 'd'   ? (c >= '0' && c <= '9')
                      : shape[i] == ' ' ? (c == ' ' || c == '\t')
                                        : c == '-';
    if (!fits) return false;
  }
  return true;
}

}  // namespace brindlewort
