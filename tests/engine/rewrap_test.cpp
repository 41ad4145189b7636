// Re-flowing: one joined paragraph, then whole line lists, then randomised
// documents that no width may lose, add or reorder a word of.

#include "engine/rewrap.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/comment_length.h"
#include "engine/comment_wrapping.h"
#include "engine/line_detail.h"
#include "engine/paragraph_joining.h"

namespace brindlewort {
namespace {

using Lines = std::vector<std::string>;
constexpr std::int64_t unwrap = noCommentLengthLimit;

TEST(WrapParagraph, Reflows) {
  const struct {
    const char* name;
    std::string paragraph;
    std::int64_t maxLength;
    bool plainText;
    std::string expected;
  } cases[] = {
      {"WorkedExample", "// - alpha beta gamma delta epsilon", 20, false,
       "// - alpha beta\n//   gamma delta\n//   epsilon"},
      {"ListWithoutMarker", "- one two three", 8, false, "- one\n  two\n  three"},
      {"NumberedItem", "// 1. one two", 10, false, "// 1. one\n//    two"},
      {"DoubleMarkerPrefix", "// // one two", 8, false, "// // one\n      two"},
      {"NoPrefixNotPlainText", "code that is long", 5, false, "code that is long"},
      {"NoPrefixPlainText", "prose that is long", 10, true, "prose that\nis long"},
      {"IndentedCodeWrapsWithIndentation", "    let x = 1", 8, false, "    let\n    x =\n    1"},
      {"OnlyMarker", "// ", 10, false, "// "},
      {"ZeroLengthEveryWordOwnLine", "// a b c", 0, false, "// a\n// b\n// c"},
      {"OneTrailingSpaceDropped", "// a b ", 80, false, "// a b"},
      {"TwoTrailingSpacesLeaveOne", "// a b  ", 80, false, "// a b "},
      {"TrailingSpacesAtLimitBreak", "// abcd  ", 7, false, "// abcd\n"},
      {"SpaceRunsCollapse", "// a    b", 80, false, "// a b"},
      {"TabsBelongToWords", "// a\tb c", 5, false, "// a\tb\n// c"},
      {"EmojiAndCombiningCountAsOne", "// 👍🏽x e\u0301e\u0301 z", 9, false, "// 👍🏽x e\u0301e\u0301\n//  z"},
      // A space that carries a mark, or follows a prepended one, is a
      // larger character and never a place to split.
      {"SpaceWithCombiningMarkIsNoSplit", "// a \u0308b c", 6, false, "// a \u0308b\n// c"},
      {"SpaceWithJoinerIsNoSplit", "// a \u200Db c", 6, false, "// a \u200Db\n// c"},
      {"SpaceAfterPrependedMarkIsNoSplit", "// a\u0600 b c", 7, false, "// a\u0600 b\n// c"},
      {"PrefixLongerThanLimit", "        // a b", 3, false, "        // a\n        // b"},
  };
  for (const auto& c : cases) EXPECT_EQ(wrapParagraph(c.paragraph, c.maxLength, c.plainText), c.expected) << c.name;
}

TEST(RewrapLines, Transforms) {
  const struct {
    const char* name;
    Lines input;
    std::int64_t maxLength;
    Lines expected;
  } cases[] = {
      {"WorkedExample", {"// This is a long comment that goes on", "// and on."}, 20,
       {"// This is a long", "// comment that goes", "// on and on."}},
      {"WorkedExampleUnwrapsBack", {"// This is a long", "// comment that goes", "// on and on."}, unwrap,
       {"// This is a long comment that goes on and on."}},
      {"BlankCommentLineSeparatesParagraphs", {"// a", "// b", "//", "// c", "// d"}, unwrap,
       {"// a b", "//", "// c d"}},
      {"BlankContinuedItemLineDisappears", {"// - item", "//   more", "//   "}, unwrap, {"// - item more"}},
      {"EmptyLinesKeptButLeadingDropped", {"", "", "// a", "", "// b", ""}, unwrap, {"// a", "", "// b", ""}},
      {"TrailingWhitespaceRemoved", {"// hello   ", "//   "}, 80, {"// hello", "//   "}},
      {"CarriageReturnsDropped", {"// a\r", "// b\r", "code\r"}, 80, {"// a b", "code"}},
      {"PlainTextWrapped", {"one two three", "four"}, 9, {"one two", "three", "four"}},
      {"CodeLineBetweenCommentsUnchanged", {"// a", "let value = compute(a, b, c)", "// b"}, 10,
       {"// a", "let value = compute(a, b, c)", "// b"}},
      {"ConsecutiveCodeLinesJoin", {"foo()", "bar()"}, 80, {"foo() bar()"}},
      {"ListWithoutMarkerLosesMarkerAmongComments", {"// intro", "- item"}, 80, {"// intro", "item"}},
      {"TrailingSpacesOnFullLineLeaveNoExtraLine", {"// abcd  "}, 7, {"// abcd"}},
      {"EmptyGivesOneEmptyLine", {}, 80, {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(rewrapLines(c.input, c.maxLength), c.expected) << c.name;
}

// Ranges count characters; leading empty lines all start at zero.
TEST(JoinParagraphs, RecordsLineRanges) {
  const Lines lines = {"", "", "// é👍", "// ü"};
  const JoinedParagraphs joined = joinParagraphs(parseLines(lines));
  EXPECT_EQ(joined.text, "// é👍 ü");
  EXPECT_EQ(joined.lineRanges, (std::vector<LineRange>{{0, 0}, {0, 0}, {0, 5}, {6, 1}}));
}

// The bounded form gives the exact result when it fits the limit, however
// tight, and nothing as soon as it does not: CR-LF paragraphs, a trailing
// lone space and a long hanging indent are the edges.
TEST(RewrapTextWithin, ExactUpToTheLimit) {
  const std::string indent = "// " + std::string(40, ' ') + "- ";
  const std::vector<std::string> texts = {"", "// one two three four\r\n// five\r\n\ncode\n",
                                          "// one two \n// three ", indent + "a b c d e f g h\n" + indent + "i j\n"};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    const std::string exact = rewrapText(text, 10);
    EXPECT_EQ(rewrapTextWithin(text, 10, exact.size()), exact);
    if (!exact.empty()) { EXPECT_EQ(rewrapTextWithin(text, 10, exact.size() - 1), std::nullopt); }
  }
}

TEST(LineLists, SplitAndJoinRoundTrip) {
  for (const std::string text : {"", "a", "a\n", "\n\n", "a\nb", "a\r\nb\r\n"}) EXPECT_EQ(joinLines(splitLines(text)), text);
  EXPECT_EQ(splitLines("a\n"), (Lines{"a", ""}));
  EXPECT_EQ(splitLines(""), (Lines{""}));
}

std::vector<std::string> words(const Lines& lines) {
  std::vector<std::string> result;
  for (const std::string& line : lines) {
    std::istringstream stream(line);
    for (std::string word; stream >> word;) {
      // Comment markers and list markers are layout, not words.
      if (word.find_first_not_of('/') == std::string::npos || word == "-" || word == "*") continue;
      result.push_back(word);
    }
  }
  return result;
}

Lines randomDocument(std::mt19937& random) {
  static const Lines vocabulary = {"alpha", "beta", "gamma", "é", "naïve", "日本", "👍🏽", "x",
                                   "longerwordthanusual", "a,b", "(see)", "`code`"};
  static const Lines prefixes = {"// ", "/// ", "    // ", "// - ", "// 1. ", "//   "};
  std::uniform_int_distribution<std::size_t> pick(0, vocabulary.size() - 1);
  std::uniform_int_distribution<std::size_t> pickPrefix(0, prefixes.size() - 1);
  std::uniform_int_distribution<int> count(1, 12);
  std::uniform_int_distribution<int> kind(0, 9);

  Lines lines;
  const int lineCount = count(random) * 2;
  for (int i = 0; i < lineCount; ++i) {
    if (kind(random) == 0) {
      lines.emplace_back("//");
      continue;
    }
    std::string line = prefixes[pickPrefix(random)];
    const int wordCount = count(random);
    for (int w = 0; w < wordCount; ++w) {
      if (w > 0) line += (kind(random) == 0 ? "  " : " ");
      // Symbols in front of a line's first letter belong to its list
      // marker, so a line's first word is always text.
      std::string word = vocabulary[pick(random)];
      while (w == 0 && (word == "👍🏽" || word == "a,b")) word = vocabulary[pick(random)];
      line += word;
    }
    lines.push_back(line);
  }
  return lines;
}

TEST(WrapProperty, NoCommentWordLostOrReordered) {
  std::mt19937 random(20261206);
  for (int iteration = 0; iteration < 500; ++iteration) {
    const Lines document = randomDocument(random);
    const std::vector<std::string> original = words(document);
    bool hasSymbolWords = false;
    for (const std::string& word : original) hasSymbolWords |= word == "👍🏽";
    for (const std::int64_t width : {std::int64_t{0}, std::int64_t{10}, std::int64_t{25}, std::int64_t{80}, unwrap}) {
      const auto wrapped = rewrapLines(document, width);
      ASSERT_EQ(words(wrapped), original) << "width " << width << " iteration " << iteration;
      const auto unwrapped = rewrapLines(wrapped, unwrap);
      ASSERT_EQ(words(unwrapped), original);
      // A symbol that wrapping moves to the start of a line joins that
      // line's prefix, so stability only holds for text-initial words.
      if (!hasSymbolWords) {
        ASSERT_EQ(rewrapLines(unwrapped, unwrap), unwrapped) << "unwrap is stable";
      }
    }
  }
}

}  // namespace
}  // namespace brindlewort
