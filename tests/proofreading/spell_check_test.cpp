#include "proofreading/spell_check.h"

#include <gtest/gtest.h>

#include "fake_spell_checker.h"
#include "proofreading/info_log.h"
#include "proofreading/prose_words.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {
namespace {

using testing_support::FakeSpellChecker;
using Lines = std::vector<std::string>;

// Which words of comment text the checker is asked about.
TEST(ProseWords, LeavesCodeAlone) {
  const struct {
    const char* name;
    std::string text;
    Lines expected;
  } cases[] = {
      {"PlainWords", "Thsi is, a smple!", {"Thsi", "is", "a", "smple"}},
      {"ContractionsAndPossessives", "don't the user's doesn\u2019t", {"don't", "the", "user's", "doesn\u2019t"}},
      {"Identifiers", "camelCase snake_case utf8 HTTPServer NASA x86 iPhone", {}},
      {"Backticks", "use `fooo barr` here", {"use", "here"}},
      {"UnclosedBacktickRunsToEnd", "see `fooo barr", {"see"}},
      {"UrlsAndEmail", "see https://exmple.org/pth, www.exmple.org or jon.doe@exmple.org", {"see", "or"}},
      {"Paths", "in /usr/lcal/bin or src/mian.cpp or C:\\Prgram ~/cnf", {"in", "or", "or"}},
      {"FileNamesAndAbbreviations", "edit main.cpp, e.g. this", {"edit", "this"}},
      {"CodeSyntax", "call frob() or std::vectr or p->nxt", {"call", "or", "or"}},
      {"NumbersAreNotWords", "costs 42 units, mask 0xFFab and #ffaacc", {"costs", "units", "mask", "and"}},
      {"IdeographsLeftToTheirOwnTools", "漢字 text", {"text"}},
      {"AccentedWords", "naïve café", {"naïve", "café"}},
      {"LongRunsAreData", "a " + std::string(65, 'q') + " b", {"a", "b"}},
      // Link text is prose; the address and the label are not.
      {"InlineLinkText", "see [the docss](https://exmple.com/pth) now", {"see", "the", "docss", "now"}},
      {"ReferenceLinkText", "see [the refrence][lbel] and [shortcutt].", {"see", "the", "refrence", "and", "shortcutt"}},
      {"IndexIsNoLink", "take a[indx] or [1] or [x](y", {"take", "or", "or"}},
      // Slash compounds are words each; paths are not.
      {"SlashCompounds", "obsolete/cleannup and saveing/setting, and/or", {"obsolete", "cleannup", "and", "saveing", "setting", "and", "or"}},
      {"PathsStayCode", "src/mian.cpp ./tols/x /usr/bn a/b/cc", {}},
      {"PlusPlusNamesCode", "libstdc++ and C++ and libfoo++", {"and", "and"}},
      // A single quoted word is a value; a quoted phrase is prose.
      {"QuotedValues", "values \"crs\", 'hebrw', (\"nocrs\"); \"a phrse\"", {"values", "a", "phrse"}},
      {"SchemesAndHandles", "see github:oyvndjam or mailto:jo", {"see", "or"}},
      {"Mathematics", "when x\u207F and v\u2099 or q\u0302 are tiny", {"when", "and", "or", "are", "tiny"}},
      {"FlagsAsAWhole", "with -Wcast-qal or --no-verfy - a dash", {"with", "or", "a", "dash"}},
  };
  for (const auto& c : cases) {
    const icu::UnicodeString text = toUtf16(c.text);
    Lines words;
    for (const WordSpan& w : proseWords(text)) words.push_back(utf8Slice(text, w.start, w.length));
    EXPECT_EQ(words, c.expected) << c.name;
  }
}

TEST(TypoMarkers, PlacesMarksUnderCharacters) {
  const struct {
    const char* name;
    std::string line;
    std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
    std::optional<std::string> expected;
  } cases[] = {
      {"WorkedExample", "    // Thsi is a smple", {{0, 4}, {10, 5}}, "    // ▲▲▲▲      ▲▲▲▲▲ ← TYPOS?"},
      {"OverlappingRangesCountTwice", "// abcdef", {{0, 4}, {2, 2}}, "// ▲▲▲▲ ← TYPOS?"},
      // The room for marks is the whole line, prefix included.
      {"RangePastLineSkipped", "// Thsi", {{0, 8}}, std::nullopt},
      {"RangeFillingRoomKept", "// Thsi", {{0, 7}}, "// ▲▲▲▲▲▲▲ ← TYPO?"},
      {"OnlyPlaceableRangesCount", "// Thsi smple", {{0, 4}, {90, 2}}, "// ▲▲▲▲ ← TYPO?"},
      {"NegativeOrOverflowingRangesSkipped", "// Thsi",
       {{-1, 3}, {0, -2}, {INT64_MAX, 1}, {1, INT64_MAX}}, std::nullopt},
      // Ranges count UTF-16 units; marks go one per character.
      {"AfterEmoji", "// 😀 Thsi", {{3, 4}}, "//   ▲▲▲▲ ← TYPO?"},
      {"EmojiWordMarked", "// a😀b ok", {{0, 4}}, "// ▲▲▲ ← TYPO?"},
      {"RangeInsideSurrogatePairMarksCharacter", "// 😀x", {{1, 1}}, "// ▲ ← TYPO?"},
      {"AfterCombiningMark", "// cafe\u0301 Thsi", {{6, 4}}, "//      ▲▲▲▲ ← TYPO?"},
      {"RangeEndingBeforeCombiningMarkTakesIt", "// cafe\u0301", {{0, 4}}, "// ▲▲▲▲ ← TYPO?"},
      {"FlagSequenceIsOneCharacter", "// 🇩🇪 Thsi", {{5, 4}}, "//   ▲▲▲▲ ← TYPO?"},
  };
  for (const auto& c : cases) {
    const std::string prefix = c.line.substr(0, c.line.find("// ") + 3);
    EXPECT_EQ(buildTypoMarker(c.ranges, prefix, c.line), c.expected) << c.name;
  }
}

// Only comment text is asked about, without prefix or line terminator.
TEST(SpellingMarkerLine, MarksCommentTextOnly) {
  const struct {
    const char* name;
    std::string line;
    std::optional<std::string> expected;
  } cases[] = {
      {"WorkedExample", "    // Thsi is a smple", "    // ▲▲▲▲      ▲▲▲▲▲ ← TYPOS?"},
      {"CodeLineWithTrailingComment", "let x = 1 // helo", std::nullopt},
      {"CommentOfBlanks", "    // ", std::nullopt},
      {"TabIndented", "\t//\tThsi", "\t//\t▲▲▲▲ ← TYPO?"},
      {"CarriageReturnLineFeedDropped", "// Thsi\r\n", "// ▲▲▲▲ ← TYPO?"},
      {"CarriageReturnDropped", "  /// Some helo\r", "  ///      ▲▲▲▲ ← TYPO?"},
  };
  const FakeSpellChecker checker({"Thsi", "smple", "helo"});
  for (const auto& c : cases) EXPECT_EQ(spellingMarkerLine(c.line, checker), c.expected) << c.name;
  EXPECT_EQ(checker.asked, (Lines{"Thsi is a smple", "Thsi", "Thsi", "Some helo"}));
}

Lines logged;

// Every result counts and is logged, once a line while a sink is set; only
// spelling results are marked.
TEST(SpellingMarkerLine, LogsEveryResultAndMarksSpellingOnly) {
  setInfoLogSink([](std::string_view message) { logged.emplace_back(message); });
  EXPECT_EQ(spellingMarkerLine("// fine", FakeSpellChecker({"Thsi"})), std::nullopt);
  EXPECT_EQ(spellingMarkerLine("// Thsi", FakeSpellChecker({}, {{{4, 0, 4}}})), std::nullopt);
  const FakeSpellChecker mixed({}, {{{4, 0, 2}, {spellingResultType, 3, 2}}});
  EXPECT_EQ(spellingMarkerLine("// ab cd", mixed), "//    ▲▲ ← TYPO?");
  setInfoLogSink(nullptr);
  spellingMarkerLine("// Thsi", FakeSpellChecker({"Thsi"}));
  EXPECT_EQ(logged, (Lines{"Found 1 spelling errors in text: '(type 4 {0, 4})'",
                           "Found 2 spelling errors in text: '(type 4 {0, 2}, spelling {3, 2})'"}));
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
