#include "engine/comment_wrapping.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "engine/comment_length.h"

namespace brindlewort {
namespace {

struct WrapCase {
  std::string name;
  std::string paragraph;
  std::int64_t maxLength;
  bool plainText;
  std::string expected;
};

void PrintTo(const WrapCase& c, std::ostream* out) { *out << c.name; }

class WrapParagraph : public testing::TestWithParam<WrapCase> {};

TEST_P(WrapParagraph, Reflows) {
  const WrapCase& c = GetParam();
  EXPECT_EQ(wrapParagraph(c.paragraph, c.maxLength, c.plainText), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrapParagraph,
    testing::Values(
        WrapCase{"WorkedExample", "// - alpha beta gamma delta epsilon", 20, false,
                 "// - alpha beta\n//   gamma delta\n//   epsilon"},
        WrapCase{"PlainCommentRepeatsPrefix", "// one two three", 10, false, "// one two\n// three"},
        WrapCase{"ListWithoutMarker", "- one two three", 8, false, "- one\n  two\n  three"},
        WrapCase{"NumberedItem", "// 1. one two", 10, false, "// 1. one\n//    two"},
        WrapCase{"DoubleMarkerPrefix", "// // one two", 8, false, "// // one\n      two"},
        WrapCase{"NoPrefixNotPlainText", "code that is long", 5, false, "code that is long"},
        WrapCase{"NoPrefixPlainText", "prose that is long", 10, true, "prose that\nis long"},
        WrapCase{"IndentedCodeWrapsWithIndentation", "    let x = 1", 8, false,
                 "    let\n    x =\n    1"},
        WrapCase{"Empty", "", 10, true, ""},
        WrapCase{"OnlyMarker", "// ", 10, false, "// "},
        WrapCase{"SingleLongWord", "// supercalifragilistic", 5, false, "// supercalifragilistic"},
        WrapCase{"ZeroLengthEveryWordOwnLine", "// a b c", 0, false, "// a\n// b\n// c"},
        WrapCase{"OneTrailingSpaceDropped", "// a b ", 80, false, "// a b"},
        WrapCase{"TwoTrailingSpacesLeaveOne", "// a b  ", 80, false, "// a b "},
        WrapCase{"TrailingSpacesAtLimitBreak", "// abcd  ", 7, false, "// abcd\n"},
        WrapCase{"SpaceRunsCollapse", "// a    b", 80, false, "// a b"},
        WrapCase{"TabsBelongToWords", "// a\tb c", 5, false, "// a\tb\n// c"},
        WrapCase{"Unwrap", "// one two three four", noCommentLengthLimit, false,
                 "// one two three four"},
        WrapCase{"MultibyteCountsAsOne", "// ééé ééé ééé", 10, false, "// ééé ééé\n// ééé"},
        WrapCase{"EmojiAndCombining", "// 👍🏽x e\u0301e\u0301 z", 9, false,
                 "// 👍🏽x e\u0301e\u0301\n//  z"},
        // A space that carries a mark, or follows a prepended one, is a
        // larger character and never a place to split.
        WrapCase{"SpaceWithCombiningMarkIsNoSplit", "// a \u0308b c", 6, false,
                 "// a \u0308b\n// c"},
        WrapCase{"SpaceWithJoinerIsNoSplit", "// a \u200Db c", 6, false, "// a \u200Db\n// c"},
        WrapCase{"SpaceAfterPrependedMarkIsNoSplit", "// a\u0600 b c", 7, false,
                 "// a\u0600 b\n// c"},
        WrapCase{"PrefixLongerThanLimit", "        // a b", 3, false,
                 "        // a\n        // b"}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST(WrapParagraph, OwnedStringOverloadAgreesWithSlice) {
  const std::string owned = "// - alpha beta gamma";
  EXPECT_EQ(wrapParagraph(owned, 12, false), wrapParagraph(std::string_view(owned), 12, false));
  static_assert(CommentWrappable<std::string>);
  static_assert(!CommentWrappable<std::string_view>);
}

}  // namespace
}  // namespace brindlewort
