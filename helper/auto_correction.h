#pragma once

// The corrections the helper service applies to a text: trailing white space
// removed, one space after a line comment's "//", and frequent misspellings
// in comment prose fixed, on comment lines only: code lines are never
// touched, not even their trailing white space. Applying it to its own
// result changes nothing.

#include <string>
#include <string_view>

namespace brindlewort {

// The corrected text. Works on any bytes: UTF-8 is expected, but other
// bytes pass through unchanged. Linear in the length of the text.
std::string autoCorrectString(std::string_view text);

}  // namespace brindlewort
