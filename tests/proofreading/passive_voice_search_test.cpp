#include "proofreading/passive_voice_search.h"

#include <gtest/gtest.h>
#include <unicode/regex.h>

#include <memory>
#include <random>

#include "proofreading/grammar_check.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {
namespace {

// What a plain search of the whole text with the pattern finds.
std::vector<UnitSpan> searchEverywhere(const icu::UnicodeString& text) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  std::unique_ptr<icu::RegexPattern> pattern(icu::RegexPattern::compile(
      icu::UnicodeString::fromUTF8(passiveVoicePattern), 0, parseError, status));
  std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(text, status));
  std::vector<UnitSpan> found;
  while (matcher->find(status) && U_SUCCESS(status)) {
    found.push_back({matcher->start64(status), matcher->end64(status)});
  }
  return found;
}

TEST(PassiveVoiceMatches, SameAsSearchingEverywhere) {
  // Words in and out of word boundaries, white space the pattern may or may
  // not accept, and characters beyond ASCII.
  const char* const pieces[] = {
      "is",  "was", "were", "be", "been", "have", "are", "am",  "Is",   "This", "written",
      "tested.", "done", "ised", "x_is", "9is", "éis", "—", "😀ed", "e\u0301d", "added",
      " ",   "  ",  "\n",   "\t", "\v",   "\u00A0", "\u2003", "\u0085", "\u200B", "\r\n", "//",
      "ened", "en",  "ed",   "xed", "walkeden", "(is", "is-", "Xen", "de", "n", ".",
  };
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = 1 + round % 24;
    for (int i = 0; i < count; ++i) text += pieces[pick(random)];
    const icu::UnicodeString units = toUtf16(text);
    const std::vector<UnitSpan> expected = searchEverywhere(units);
    ASSERT_EQ(passiveVoiceMatches(units), expected) << text;
    std::string ascii;
    for (const char c : text) ascii += static_cast<unsigned char>(c) < 0x80 ? c : ' ';
    ASSERT_EQ(passiveVoiceMatchesInAscii(ascii), searchEverywhere(toUtf16(ascii))) << ascii;
  }
}

}  // namespace
}  // namespace brindlewort
