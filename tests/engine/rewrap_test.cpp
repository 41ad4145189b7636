#include "engine/rewrap.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/comment_length.h"
#include "engine/line_detail.h"
#include "engine/paragraph_joining.h"

namespace brindlewort {
namespace {

using Lines = std::vector<std::string>;

struct RewrapCase {
  std::string name;
  Lines input;
  std::int64_t maxLength;
  Lines expected;
};

void PrintTo(const RewrapCase& c, std::ostream* out) { *out << c.name; }

class RewrapLines : public testing::TestWithParam<RewrapCase> {};

TEST_P(RewrapLines, Transforms) {
  const RewrapCase& c = GetParam();
  EXPECT_EQ(rewrapLines(c.input, c.maxLength), c.expected);
}

constexpr std::int64_t unwrap = noCommentLengthLimit;

INSTANTIATE_TEST_SUITE_P(
    Cases, RewrapLines,
    testing::Values(
        RewrapCase{"WorkedExample",
                   {"// This is a long comment that goes on", "// and on."},
                   20,
                   {"// This is a long", "// comment that goes", "// on and on."}},
        RewrapCase{"WorkedExampleUnwrapsBack",
                   {"// This is a long", "// comment that goes", "// on and on."},
                   unwrap,
                   {"// This is a long comment that goes on and on."}},
        RewrapCase{"UnwrapContinuation", {"// one two", "// three"}, unwrap, {"// one two three"}},
        RewrapCase{"UnwrapListItem",
                   {"// - item text", "//   rest of item"},
                   unwrap,
                   {"// - item text rest of item"}},
        RewrapCase{"BlankCommentLineSeparatesParagraphs",
                   {"// a", "// b", "//", "// c", "// d"},
                   unwrap,
                   {"// a b", "//", "// c d"}},
        RewrapCase{"BlankContinuedItemLineDisappears",
                   {"// - item", "//   more", "//   "},
                   unwrap,
                   {"// - item more"}},
        RewrapCase{"EmptyLinesKeptButLeadingDropped",
                   {"", "", "// a", "", "// b", ""},
                   unwrap,
                   {"// a", "", "// b", ""}},
        RewrapCase{"TrailingWhitespaceRemoved", {"// hello   ", "//   "}, 80, {"// hello", "//   "}},
        RewrapCase{"CarriageReturnsDropped", {"// a\r", "// b\r", "code\r"}, 80, {"// a b", "code"}},
        RewrapCase{"PlainTextWrapped", {"one two three", "four"}, 9, {"one two", "three", "four"}},
        RewrapCase{"CodeLineBetweenCommentsUnchanged",
                   {"// a", "let value = compute(a, b, c)", "// b"},
                   10,
                   {"// a", "let value = compute(a, b, c)", "// b"}},
        RewrapCase{"ConsecutiveCodeLinesJoin", {"foo()", "bar()"}, 80, {"foo() bar()"}},
        RewrapCase{"ConsecutiveCodeLinesJoinUnwrap", {"foo()", "bar()"}, unwrap, {"foo() bar()"}},
        RewrapCase{"ListWithoutMarkerLosesMarkerAmongComments",
                   {"// intro", "- item"},
                   80,
                   {"// intro", "item"}},
        RewrapCase{"ListWrapsWithHangingIndent",
                   {"// - alpha beta gamma delta epsilon"},
                   20,
                   {"// - alpha beta", "//   gamma delta", "//   epsilon"}},
        RewrapCase{"TrailingSpacesOnFullLineLeaveNoExtraLine",
                   {"// abcd  "},
                   7,
                   {"// abcd"}},
        RewrapCase{"EmptyGivesOneEmptyLine", {}, 80, {""}},
        RewrapCase{"SingleEmptyLine", {""}, 80, {""}}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST(JoinParagraphs, RecordsLineRanges) {
  const Lines lines = {"// a", "// b"};
  const JoinedParagraphs joined = joinParagraphs(parseLines(lines));
  EXPECT_EQ(joined.text, "// a b");
  EXPECT_EQ(joined.lineRanges, (std::vector<LineRange>{{0, 4}, {5, 1}}));
}

TEST(JoinParagraphs, LeadingEmptyLinesAllStartAtZero) {
  const Lines lines = {"", "", "// a"};
  const JoinedParagraphs joined = joinParagraphs(parseLines(lines));
  EXPECT_EQ(joined.text, "// a");
  EXPECT_EQ(joined.lineRanges, (std::vector<LineRange>{{0, 0}, {0, 0}, {0, 4}}));
}

TEST(JoinParagraphs, RangesCountCharactersNotBytes) {
  const Lines lines = {"// é👍", "// ü"};
  const JoinedParagraphs joined = joinParagraphs(parseLines(lines));
  EXPECT_EQ(joined.lineRanges, (std::vector<LineRange>{{0, 5}, {6, 1}}));
}

TEST(JoinParagraphs, EmptyInput) {
  const JoinedParagraphs joined = joinParagraphs({});
  EXPECT_TRUE(joined.text.empty());
  EXPECT_TRUE(joined.lineRanges.empty());
}

TEST(LineLists, SplitAndJoinRoundTrip) {
  for (const std::string text : {"", "a", "a\n", "\n\n", "a\nb", "a\r\nb\r\n"}) {
    EXPECT_EQ(joinLines(splitLines(text)), text);
  }
  EXPECT_EQ(splitLines("a\n"), (Lines{"a", ""}));
  EXPECT_EQ(splitLines(""), (Lines{""}));
}

}  // namespace
}  // namespace brindlewort
