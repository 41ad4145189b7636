#include "proofreading/grammar_check.h"

#include <gtest/gtest.h>
#include <unicode/regex.h>

#include <memory>
#include <random>

#include "proofreading/passive_voice_search.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {
namespace {

using Lines = std::vector<std::string>;

TEST(GrammarCheckLines, InsertsMarkerLines) {
  const struct {
    const char* name;
    Lines input;
    Lines expected;
  } cases[] = {
      {"SingleLine", {"// The file is written by the tool."},
       {"// The file is written by the tool.", "//          ▲▲▲▲▲▲▲▲▲▲"}},
      {"SplitOverContinuation", {"// The value is", "// computed later."},
       {"// The value is", "//           ▲▲", "// computed later.", "// ▲▲▲▲▲▲▲▲"}},
      {"ListItemMarkerBlanked", {"// - Files were added and"},
       {"// - Files were added and", "//         ▲▲▲▲▲▲▲▲▲▲"}},
      {"PunctuationAfterParticipleUnmarked", {"// It was tested."},
       {"// It was tested.", "//    ▲▲▲▲▲▲▲▲▲▲"}},
      {"PerfectTenseAndAdjective", {"// I have walked, am tired"},
       {"// I have walked, am tired", "//   ▲▲▲▲▲▲▲▲▲▲▲  ▲▲▲▲▲▲▲▲"}},
      {"SeveralMatchesOnOneLine", {"// it is written and was added"},
       {"// it is written and was added", "//    ▲▲▲▲▲▲▲▲▲▲     ▲▲▲▲▲▲▲▲▲"}},
      {"CodeLineMarkerWithoutPrefix", {"x is sealed"}, {"x is sealed", "  ▲▲▲▲▲▲▲▲▲"}},
      {"EmptyLineInsideMatchGetsBareMarker", {"x is", "", "sealed"},
       {"x is", "  ▲▲", "", "", "sealed", "▲▲▲▲▲▲"}},
      {"CarriageReturnLines", {"// it is written\r"}, {"// it is written\r", "//    ▲▲▲▲▲▲▲▲▲▲"}},
      // One mark per character, under the characters of the construction.
      {"AfterEmoji", {"// 😀 is written"}, {"// 😀 is written", "//   ▲▲▲▲▲▲▲▲▲▲"}},
      {"AfterCombiningMark", {"// cafe\u0301 is sealed"}, {"// cafe\u0301 is sealed", "//      ▲▲▲▲▲▲▲▲▲"}},
      {"CombiningMarkInsideMatch", {"// is wri\u0301tten"}, {"// is wri\u0301tten", "// ▲▲▲▲▲▲▲▲▲▲"}},
      {"EmojiInParticiple", {"// is 😀ed ok"}, {"// is 😀ed ok", "// ▲▲▲▲▲▲"}},
      {"SplitAfterEmoji", {"// a 😀 value is", "// sealed later"},
       {"// a 😀 value is", "//           ▲▲", "// sealed later", "// ▲▲▲▲▲▲"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(grammarCheckLines(c.input), c.expected) << c.name;
    EXPECT_EQ(grammarCheckLines(std::vector<std::string_view>(c.input.begin(), c.input.end())), c.expected) << c.name;
  }
}

// Matches are handed to lines in one sweep; each must still land on its own.
TEST(GrammarCheckLines, ManyMatchesEachOnItsLine) {
  Lines input, expected;
  for (int i = 0; i < 2000; ++i) {
    input.insert(input.end(), {"// it is written", "code();"});
    expected.insert(expected.end(), {"// it is written", "//    ▲▲▲▲▲▲▲▲▲▲", "code();"});
  }
  EXPECT_EQ(grammarCheckLines(input), expected);
}

TEST(PassiveVoiceFindings, LineColumnAndText) {
  EXPECT_EQ(passiveVoiceFindings(Lines{"int x;", "// The value is", "// computed later.", "// 😀 it was added"}),
            (std::vector<PassiveVoiceFinding>{{1, 13, "is computed"}, {3, 8, "was added"}}));
  EXPECT_EQ(passiveVoiceFindings(Lines{"// first", "// it was", "// sealed"}),
            (std::vector<PassiveVoiceFinding>{{1, 6, "was sealed"}}));
  EXPECT_TRUE(passiveVoiceFindings(Lines{"// nothing"}).empty());
}

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

// Random texts of words in and out of word boundaries, white space the
// pattern may or may not accept, and characters beyond ASCII: the fast
// search finds what the pattern finds.
TEST(PassiveVoiceMatches, SameAsSearchingEverywhere) {
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
    ASSERT_EQ(passiveVoiceMatches(units), searchEverywhere(units)) << text;
    std::string ascii;
    for (const char c : text) ascii += static_cast<unsigned char>(c) < 0x80 ? c : ' ';
    ASSERT_EQ(passiveVoiceMatchesInAscii(ascii), searchEverywhere(toUtf16(ascii))) << ascii;
  }
}

}  // namespace
}  // namespace brindlewort
