#include "proofreading/spell_check.h"

#include <gtest/gtest.h>

#include "fake_spell_checker.h"
#include "proofreading/info_log.h"

namespace brindlewort {
namespace {

using testing_support::FakeSpellChecker;
using Lines = std::vector<std::string>;

struct MarkerCase {
  std::string name;
  std::string line;
  std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
  std::optional<std::string> expected;
};
void PrintTo(const MarkerCase& c, std::ostream* os) { *os << c.name; }

class TypoMarkers : public testing::TestWithParam<MarkerCase> {};

TEST_P(TypoMarkers, PlacesMarksUnderCharacters) {
  const MarkerCase& c = GetParam();
  const std::string prefix = c.line.substr(0, c.line.find("// ") + 3);
  EXPECT_EQ(buildTypoMarker(c.ranges, prefix, c.line), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypoMarkers,
    testing::Values(
        MarkerCase{"WorkedExample", "    // Thsi is a smple", {{0, 4}, {10, 5}}, "    // ▲▲▲▲      ▲▲▲▲▲ ← TYPOS?"},
        MarkerCase{"NoRanges", "// Thsi", {}, std::nullopt},
        MarkerCase{"OverlappingRangesCountTwice", "// abcdef", {{0, 4}, {2, 2}}, "// ▲▲▲▲ ← TYPOS?"},
        // The room for marks is the whole line, prefix included.
        MarkerCase{"RangePastLineSkipped", "// Thsi", {{0, 8}}, std::nullopt},
        MarkerCase{"RangeFillingRoomKept", "// Thsi", {{0, 7}}, "// ▲▲▲▲▲▲▲ ← TYPO?"},
        MarkerCase{"OnlyPlaceableRangesCount", "// Thsi smple", {{0, 4}, {90, 2}}, "// ▲▲▲▲ ← TYPO?"},
        MarkerCase{"NegativeRangesSkipped", "// Thsi", {{-1, 3}, {0, -2}}, std::nullopt},
        MarkerCase{"OverflowingRangeSkipped", "// Thsi", {{INT64_MAX, 1}, {1, INT64_MAX}}, std::nullopt},
        // Ranges count UTF-16 units; marks go one per character.
        MarkerCase{"AfterEmoji", "// 😀 Thsi", {{3, 4}}, "//   ▲▲▲▲ ← TYPO?"},
        MarkerCase{"EmojiWordMarked", "// a😀b ok", {{0, 4}}, "// ▲▲▲ ← TYPO?"},
        MarkerCase{"RangeInsideSurrogatePairMarksCharacter", "// 😀x", {{1, 1}}, "// ▲ ← TYPO?"},
        MarkerCase{"AfterCombiningMark", "// cafe\u0301 Thsi", {{6, 4}}, "//      ▲▲▲▲ ← TYPO?"},
        MarkerCase{"RangeEndingBeforeCombiningMarkTakesIt", "// cafe\u0301", {{0, 4}}, "// ▲▲▲▲ ← TYPO?"},
        MarkerCase{"AfterCjk", "// 日本語 Thsi", {{4, 4}}, "//     ▲▲▲▲ ← TYPO?"},
        MarkerCase{"FlagSequenceIsOneCharacter", "// 🇩🇪 Thsi", {{5, 4}}, "//   ▲▲▲▲ ← TYPO?"}),
    [](const auto& c) { return c.param.name; });

struct LineCase {
  std::string name;
  std::string line;
  std::optional<std::string> expected;
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class SpellingMarkerLines : public testing::TestWithParam<LineCase> {};

TEST_P(SpellingMarkerLines, MarksCommentTextOnly) {
  const FakeSpellChecker checker({"Thsi", "smple", "helo"});
  EXPECT_EQ(spellingMarkerLine(GetParam().line, checker), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpellingMarkerLines,
    testing::Values(
        LineCase{"WorkedExample", "    // Thsi is a smple", "    // ▲▲▲▲      ▲▲▲▲▲ ← TYPOS?"},
        LineCase{"CodeLineWithTrailingComment", "let x = 1 // helo", std::nullopt},
        LineCase{"CommentOfBlanks", "    // ", std::nullopt},
        LineCase{"DocComment", "/// helo", "/// ▲▲▲▲ ← TYPO?"},
        LineCase{"TabIndented", "\t//\tThsi", "\t//\t▲▲▲▲ ← TYPO?"},
        LineCase{"CarriageReturnLineFeedDropped", "// Thsi\r\n", "// ▲▲▲▲ ← TYPO?"}),
    [](const auto& c) { return c.param.name; });

TEST(SpellingMarkerLine, AsksAboutTheCommentTextOnly) {
  const FakeSpellChecker checker({});
  spellingMarkerLine("  /// Some text\r", checker);
  spellingMarkerLine("code(); // not this", checker);
  EXPECT_EQ(checker.asked, Lines{"Some text"});
}

TEST(SpellingMarkerLine, OtherResultKindsAreCountedButNotMarked) {
  EXPECT_EQ(spellingMarkerLine("// Thsi", FakeSpellChecker({}, {{{4, 0, 4}}})), std::nullopt);
  const FakeSpellChecker mixed({}, {{{4, 0, 2}, {spellingResultType, 3, 2}}});
  EXPECT_EQ(spellingMarkerLine("// ab cd", mixed), "//    ▲▲ ← TYPO?");
}

Lines logged;

TEST(SpellingMarkerLine, LogsOnceForEachLineWithResults) {
  setInfoLogSink([](std::string_view message) { logged.emplace_back(message); });
  const FakeSpellChecker checker({"Thsi"});
  spellingMarkerLine("// fine", checker);
  spellingMarkerLine("// Thsi Thsi", checker);
  setInfoLogSink(nullptr);
  spellingMarkerLine("// Thsi", checker);
  EXPECT_EQ(logged, Lines{"Found 2 spelling errors in text: '(spelling {0, 4}, spelling {5, 4})'"});
}

TEST(SpellCheckLines, InsertsMarkerLinesOnly) {
  const FakeSpellChecker checker({"Thsi"});
  const Lines lines = {"// Thsi", "let a = 1", "// fine", "", "//"};
  const Lines expected = {"// Thsi", "// ▲▲▲▲ ← TYPO?", "let a = 1", "// fine", "", "//"};
  EXPECT_EQ(spellCheckLines(lines, checker), expected);
  EXPECT_EQ(spellCheckLines(std::vector<std::string_view>(lines.begin(), lines.end()), checker), expected);
}

TEST(SpellingFindings, ColumnsCountCharactersOfTheLine) {
  const FakeSpellChecker checker({"Thsi", "smple"});
  EXPECT_EQ(spellingFindings("// 😀 cafe\u0301 Thsi", checker), (std::vector<SpellingFinding>{{10, "Thsi"}}));
  EXPECT_TRUE(spellingFindings("x = 1 // Thsi", checker).empty());
}

}  // namespace
}  // namespace brindlewort
