#pragma once

// Questions about one source line (without its line terminator): may it
// carry a prefix, where does its text start, what is its comment prefix and
// its list prefix. Works on owned strings and slices alike through
// std::string_view; returned slices are views into the text passed in and
// positions are byte offsets into it.

#include <cstddef>
#include <optional>
#include <string_view>

namespace brindlewort {

// False for an empty line and for one whose first character is a letter or a
// whitespace-or-newline character other than space and tab.
bool mayHavePrefix(std::string_view line);

// Where the line's text begins; absent when the line has no text (empty, or
// only spaces, slashes and tabs).
std::optional<std::size_t> textStart(std::string_view line);

// The characters in front of the text when they hold "//" or are all
// spaces; the whole line when it may have a prefix but has no text.
std::optional<std::string_view> commentPrefix(std::string_view line);

// The list marker part of the prefix («- » in «// - item»), empty for plain
// comment text, absent where there is no list part.
std::optional<std::string_view> listPrefix(std::string_view line);

}  // namespace brindlewort
