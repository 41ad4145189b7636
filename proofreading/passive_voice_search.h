#pragma once

// Finding the passive-voice pattern in a text quickly: only where one of
// its leading words starts, and with the regular expression itself only
// where characters beyond ASCII are involved.

#include <cstdint>
#include <string_view>
#include <vector>

#include <unicode/unistr.h>

namespace brindlewort {

struct UnitSpan {
  std::int64_t start = 0;  // UTF-16 units
  std::int64_t end = 0;
  friend bool operator==(const UnitSpan&, const UnitSpan&) = default;
};

// Every match of passiveVoicePattern, left to right and without overlap:
// the same matches as a search of the whole text with the compiled pattern.
// Nothing when the pattern does not compile.
std::vector<UnitSpan> passiveVoiceMatches(const icu::UnicodeString& text);

// The same for text that is all ASCII (the caller has checked), without
// converting it; offsets are bytes.
std::vector<UnitSpan> passiveVoiceMatchesInAscii(std::string_view text);

}  // namespace brindlewort
