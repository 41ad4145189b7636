#include "proofreading/spell_check.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_spell_checker.h"
#include "proofreading/info_log.h"

namespace brindlewort {
namespace {

using testing_support::FakeSpellChecker;
using Ranges = std::vector<std::pair<std::int64_t, std::int64_t>>;

TEST(BuildTypoMarker, WorkedExample) {
  const std::string line = "    // Thsi is a smple";
  EXPECT_EQ(buildTypoMarker({{0, 4}, {10, 5}}, "    // ", line),
            "    // ▲▲▲▲      ▲▲▲▲▲ ← TYPOS?");
  EXPECT_EQ(buildTypoMarker({{0, 4}}, "    // ", line), "    // ▲▲▲▲ ← TYPO?");
}

struct MarkerCase {
  std::string name;
  std::string line;
  std::string prefix;
  Ranges ranges;
  std::optional<std::string> expected;
};

class TypoMarkers : public testing::TestWithParam<MarkerCase> {};

TEST_P(TypoMarkers, PlacesMarksUnderCharacters) {
  const MarkerCase& c = GetParam();
  EXPECT_EQ(buildTypoMarker(c.ranges, c.prefix, c.line), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypoMarkers,
    testing::Values(
        MarkerCase{"NoRanges", "// Thsi", "// ", {}, std::nullopt},
        MarkerCase{"OverlappingRangesCountTwice", "// abcdef", "// ", {{0, 4}, {2, 2}},
                   "// ▲▲▲▲ ← TYPOS?"},
        MarkerCase{"TabsInPrefixKept", "\t// Thsi", "\t// ", {{0, 4}}, "\t// ▲▲▲▲ ← TYPO?"},
        // The room for marks is the whole line, prefix included.
        MarkerCase{"RangePastLineSkipped", "// Thsi", "// ", {{0, 8}}, std::nullopt},
        MarkerCase{"RangeFillingRoomKept", "// Thsi", "// ", {{0, 7}}, "// ▲▲▲▲▲▲▲ ← TYPO?"},
        MarkerCase{"OnlyPlaceableRangesCount", "// Thsi smple", "// ", {{0, 4}, {90, 2}},
                   "// ▲▲▲▲ ← TYPO?"},
        MarkerCase{"NegativeRangesSkipped", "// Thsi", "// ", {{-1, 3}, {0, -2}}, std::nullopt},
        MarkerCase{"OverflowingRangeSkipped", "// Thsi", "// ",
                   {{INT64_MAX, 1}, {1, INT64_MAX}}, std::nullopt},
        MarkerCase{"CarriageReturnLineEnd", "// Thsi\r", "// ", {{0, 4}}, "// ▲▲▲▲ ← TYPO?"},
        // Characters of more than one UTF-16 unit: one mark per character.
        MarkerCase{"AfterEmoji", "// 😀 Thsi", "// ", {{3, 4}}, "//   ▲▲▲▲ ← TYPO?"},
        MarkerCase{"EmojiWordMarked", "// a😀b ok", "// ", {{0, 4}}, "// ▲▲▲ ← TYPO?"},
        MarkerCase{"RangeInsideSurrogatePairMarksCharacter", "// 😀x", "// ", {{1, 1}},
                   "// ▲ ← TYPO?"},
        MarkerCase{"AfterCombiningMark", "// cafe\u0301 Thsi", "// ", {{6, 4}},
                   "//      ▲▲▲▲ ← TYPO?"},
        MarkerCase{"WordWithCombiningMark", "// cafe\u0301x ok", "// ", {{0, 6}},
                   "// ▲▲▲▲▲ ← TYPO?"},
        MarkerCase{"RangeEndingBeforeCombiningMarkTakesIt", "// cafe\u0301", "// ", {{0, 4}},
                   "// ▲▲▲▲ ← TYPO?"},
        MarkerCase{"AfterCjk", "// 日本語 Thsi", "// ", {{4, 4}}, "//     ▲▲▲▲ ← TYPO?"},
        MarkerCase{"FlagSequenceIsOneCharacter", "// 🇩🇪 Thsi", "// ", {{5, 4}},
                   "//   ▲▲▲▲ ← TYPO?"}),
    [](const auto& c) { return c.param.name; });

struct LineCase {
  std::string name;
  std::string line;
  std::optional<std::string> expected;
};

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
        LineCase{"IndentedWithoutSlashes", "    Thsi is a smple", std::nullopt},
        LineCase{"CommentWithoutText", "//", std::nullopt},
        LineCase{"CommentOfBlanks", "    // ", std::nullopt},
        LineCase{"NoErrors", "// fine words", std::nullopt},
        LineCase{"DocComment", "/// helo", "/// ▲▲▲▲ ← TYPO?"},
        LineCase{"TabIndented", "\t//\tThsi", "\t//\t▲▲▲▲ ← TYPO?"},
        LineCase{"CarriageReturnDropped", "// Thsi\r", "// ▲▲▲▲ ← TYPO?"},
        LineCase{"CarriageReturnLineFeedDropped", "// Thsi\r\n", "// ▲▲▲▲ ← TYPO?"},
        LineCase{"AfterEmoji", "// a 😀 Thsi", "//     ▲▲▲▲ ← TYPO?"},
        LineCase{"AfterCombiningMark", "// nai\u0308ve Thsi", "//       ▲▲▲▲ ← TYPO?"}),
    [](const auto& c) { return c.param.name; });

TEST(SpellingMarkerLine, AsksAboutTheCommentTextOnly) {
  const FakeSpellChecker checker({});
  spellingMarkerLine("  /// Some text\r", checker);
  spellingMarkerLine("code(); // not this", checker);
  EXPECT_EQ(checker.asked, std::vector<std::string>{"Some text"});
}

TEST(SpellingMarkerLine, OwnedStringsAndSlicesAgree) {
  const FakeSpellChecker checker({"Thsi"});
  const std::string owned = "xx// Thsi yy";
  const std::string_view slice = std::string_view(owned).substr(2, 7);
  EXPECT_EQ(spellingMarkerLine(slice, checker), spellingMarkerLine(std::string(slice), checker));
  EXPECT_EQ(spellingMarkerLine(slice, checker), "// ▲▲▲▲ ← TYPO?");
}

TEST(SpellingMarkerLine, OtherResultKindsAreCountedButNotMarked) {
  const auto checker = FakeSpellChecker::answering({{4, 0, 4}});
  EXPECT_EQ(spellingMarkerLine("// Thsi", checker), std::nullopt);
  const auto mixed = FakeSpellChecker::answering({{4, 0, 2}, {spellingResultType, 3, 2}});
  EXPECT_EQ(spellingMarkerLine("// ab cd", mixed), "//    ▲▲ ← TYPO?");
}

std::vector<std::string> logged;
void recordLog(std::string_view message) { logged.emplace_back(message); }

TEST(SpellingMarkerLine, LogsOnceForEachLineWithResults) {
  logged.clear();
  setInfoLogSink(recordLog);
  const FakeSpellChecker checker({"Thsi"});
  spellingMarkerLine("// fine", checker);
  spellingMarkerLine("// Thsi Thsi", checker);
  setInfoLogSink(nullptr);
  spellingMarkerLine("// Thsi", checker);
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0],
            "Found 2 spelling errors in text: '(spelling {0, 4}, spelling {5, 4})'");
}

TEST(SpellCheckLines, InsertsMarkerLinesOnly) {
  const FakeSpellChecker checker({"Thsi"});
  const std::vector<std::string> lines = {"// Thsi", "let a = 1", "// fine"};
  const std::vector<std::string> expected = {"// Thsi", "// ▲▲▲▲ ← TYPO?", "let a = 1", "// fine"};
  EXPECT_EQ(spellCheckLines(lines, checker), expected);
  EXPECT_EQ(spellCheckLines(std::vector<std::string_view>(lines.begin(), lines.end()), checker),
            expected);
  const std::vector<std::string> clean = {"// fine", "", "code();", "//"};
  EXPECT_EQ(spellCheckLines(clean, checker), clean);
}

TEST(SpellingFindings, ColumnsCountCharactersOfTheLine) {
  const FakeSpellChecker checker({"Thsi", "smple"});
  EXPECT_EQ(spellingFindings("    // Thsi is a smple", checker),
            (std::vector<SpellingFinding>{{7, "Thsi"}, {17, "smple"}}));
  EXPECT_EQ(spellingFindings("// 😀 cafe\u0301 Thsi", checker),
            (std::vector<SpellingFinding>{{10, "Thsi"}}));
  EXPECT_TRUE(spellingFindings("x = 1 // Thsi", checker).empty());
}

}  // namespace
}  // namespace brindlewort
