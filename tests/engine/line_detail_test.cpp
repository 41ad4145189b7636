#include "engine/line_detail.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brindlewort {
namespace {

using std::nullopt;

LineDetail plain(std::optional<std::string_view> prefix, std::string_view text, bool continued) {
  return LineDetail::nonListItem(prefix, text, continued);
}
LineDetail item(std::optional<std::string_view> prefix, std::string_view list,
                std::string_view text, bool continued) {
  return LineDetail::listItem(prefix, list, text, continued);
}

std::string describe(const LineDetail& d) {
  std::string s = d.isListItem() ? "listItem(" : "nonListItem(";
  s += d.commentPrefix ? "«" + std::string(*d.commentPrefix) + "»" : "none";
  if (d.isListItem()) s += ", list «" + std::string(d.listPrefix) + "»";
  s += ", «" + std::string(d.text) + "», " + (d.continuation ? "continued" : "new") + ")";
  return s;
}

struct BlockCase {
  std::string name;
  std::vector<std::string> lines;
  std::vector<LineDetail> expected;
};

void PrintTo(const BlockCase& c, std::ostream* out) { *out << c.name; }

class ParseLines : public testing::TestWithParam<BlockCase> {};

TEST_P(ParseLines, ClassifiesEveryLine) {
  const BlockCase& c = GetParam();
  const std::vector<LineDetail> actual = parseLines(c.lines);
  ASSERT_EQ(actual.size(), c.expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_TRUE(actual[i] == c.expected[i])
        << "line " << i << " «" << c.lines[i] << "»: got " << describe(actual[i]) << ", want "
        << describe(c.expected[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, ParseLines,
    testing::Values(
        BlockCase{"ListInComment",
                  {"// Some intro text", "// - first item that", "//   wraps here",
                   "// - second item", "// Back to text"},
                  {plain("// ", "Some intro text", false), item("// - ", "- ", "first item that", false),
                   item("//   ", "  ", "wraps here", true), item("// - ", "- ", "second item", false),
                   plain("// ", "Back to text", false)}},
        BlockCase{"Paragraphs",
                  {"// This is a long", "// paragraph.", "//", "// Next paragraph."},
                  {plain("// ", "This is a long", false), plain("// ", "paragraph.", true),
                   plain("//", "", false), plain("// ", "Next paragraph.", false)}},
        BlockCase{"PlainList",
                  {"- item one", "  continues", "plain after"},
                  {item(nullopt, "- ", "item one", false), item(nullopt, "  ", "continues", true),
                   plain(nullopt, "plain after", true)}},
        BlockCase{"Code",
                  {"func a() {", "    let x = 1", "    let y = 2", "}"},
                  {plain(nullopt, "func a() {", false), plain("    ", "let x = 1", false),
                   plain("    ", "let y = 2", true), plain(nullopt, "}", false)}},
        BlockCase{"NumberedItemContinues",
                  {"// 1. one", "//    more one"},
                  {item("// 1. ", "1. ", "one", false), item("//    ", "   ", "more one", true)}},
        BlockCase{"DifferentPrefixLengthDoesNotContinue",
                  {"// - first", "//  x"},
                  {item("// - ", "- ", "first", false), item("//  ", " ", "x", false)}},
        BlockCase{"IndentedCommentIsNeverAListItem",
                  {"    // - x", "    // - y"},
                  {plain("    // - ", "x", false), plain("    // - ", "y", true)}},
        BlockCase{"BlankCommentLineSeparates",
                  {"// a", "//  ", "// b"},
                  {plain("// ", "a", false), plain("//  ", "", false), plain("// ", "b", false)}},
        BlockCase{"BlankLineAfterContinuedItemJoinsIt",
                  {"// - item", "//   more", "//   "},
                  {item("// - ", "- ", "item", false), item("//   ", "  ", "more", true),
                   item("//   ", "//   ", "", true)}},
        BlockCase{"OddListMarkers",
                  {"// 42 apples", "// 2) x", "// (see)", "// `code`"},
                  {item("// 42 ", "42 ", "apples", false), item("// 2", "2", ") x", false),
                   plain("// ", "(see)", false), plain("// ", "`code`", true)}},
        BlockCase{"TabIndentedCodeAndBlockComments",
                  {"\tcode", "/* block", " * star"},
                  {item(nullopt, "\t", "code", false), item(nullopt, "/* ", "block", false),
                   item(nullopt, " * ", "star", false)}},
        BlockCase{"CodeAfterCommentWithSamePrefixDoesNotContinue",
                  {"// a", "x"},
                  {plain("// ", "a", false), plain(nullopt, "x", false)}},
        BlockCase{"LineTerminatorsIgnored",
                  {"// a\r\n", "// b\r", "// c\n", "\n\r"},
                  {plain("// ", "a", false), plain("// ", "b", true), plain("// ", "c", true),
                   plain(nullopt, "", false)}},
        BlockCase{"OtherWhitespaceIsText",
                  {"\u00A0\u00A0", "  \t "},
                  {plain(nullopt, "\u00A0\u00A0", false), plain("  \t ", "", false)}},
        BlockCase{"TrailingWhitespaceTrimmed",
                  {"// hello   \t", ""},
                  {plain("// ", "hello", false), plain(nullopt, "", false)}}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST(LineDetailEquality, ComparesCanonicalEquivalenceAndAbsence) {
  EXPECT_TRUE(plain("// ", "caf\u00E9", false) == plain("// ", "cafe\u0301", false));
  EXPECT_FALSE(plain(nullopt, "x", false) == plain("", "x", false));
  EXPECT_FALSE(plain("// ", "x", false) == plain("// ", "x", true));
  EXPECT_FALSE(plain("// ", "x", false) == item("// ", "- ", "x", false));
  EXPECT_FALSE(item("// - ", "- ", "x", false) == item("// - ", "* ", "x", false));
}

struct TextCase {
  std::string input;
  std::string expected;
};

TEST(LineHelpers, DroppingLineTerminatorRemovesOneCharacter) {
  const std::vector<TextCase> cases = {
      {"a\n", "a"}, {"a\r", "a"}, {"a\r\n", "a"}, {"a\n\r", "a\n"}, {"a\n\n", "a\n"}, {"", ""}, {"a", "a"}};
  for (const auto& c : cases) EXPECT_EQ(droppingLineTerminator(c.input), c.expected) << c.input;
}

TEST(LineHelpers, TrimmingTrailingWhitespace) {
  const std::vector<TextCase> cases = {
      {"a  ", "a"},         {"a\t\u00A0\u2028", "a"}, {"   ", "   "}, {"", ""},
      {"é \u3000", "é"},    {"e\u0301  ", "e\u0301"}, {" x", " x"}};
  for (const auto& c : cases) EXPECT_EQ(trimmingTrailingWhitespace(c.input), c.expected) << c.input;
}

TEST(LineHelpers, HangingCommentPrefix) {
  const std::vector<std::pair<LineDetail, std::string>> cases = {
      {plain("// ", "x", false), "// "},
      {plain(nullopt, "x", false), ""},
      {item(nullopt, "- ", "x", false), ""},
      {item("// - ", "- ", "x", false), "//   "},
      {item("// 1. ", "1. ", "one", false), "//    "},
      {item("//   ", "//   ", "", true), "     "},
  };
  for (const auto& [detail, expected] : cases) EXPECT_EQ(hangingCommentPrefix(detail), expected);
}

TEST(LineHelpers, IsCommentLine) {
  EXPECT_TRUE(isCommentLine(plain("// ", "x", false)));
  EXPECT_TRUE(isCommentLine(plain("//", "", false)));
  EXPECT_FALSE(isCommentLine(plain("    ", "x", false)));
  EXPECT_FALSE(isCommentLine(plain(nullopt, "x", false)));
  EXPECT_FALSE(isCommentLine(item("// - ", "- ", "x", false)));
}

TEST(LineHelpers, IsListContinuation) {
  EXPECT_TRUE(isListContinuation(item("//   ", "  ", "x", true), "//   "));
  EXPECT_FALSE(isListContinuation(item("//   ", "  ", "x", true), "//  "));
  EXPECT_TRUE(isListContinuation(item(nullopt, "- ", "x", false), "  "));
  EXPECT_FALSE(isListContinuation(item(nullopt, "- ", "x", false), "   "));
  EXPECT_TRUE(isListContinuation(item("// - ", "- ", "x", false), "// - "));
  EXPECT_FALSE(isListContinuation(item(nullopt, "- ", "x", false), "// "));
}

}  // namespace
}  // namespace brindlewort
