// Classifying source lines: one line on its own (prefix, text start, list
// part), then whole blocks, where each line depends on the one before.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/characters.h"
#include "engine/comment_detection.h"
#include "engine/line_detail.h"

namespace brindlewort {
namespace {

using std::nullopt;
using OptionalText = std::optional<std::string>;

OptionalText owned(std::optional<std::string_view> slice) {
  if (!slice) return nullopt;
  return std::string(*slice);
}

// Asked about a slice of a longer text, so that reading past the line or
// answering with a copy shows.
TEST(CommentDetection, AnswersTheFourQuestions) {
  const struct {
    std::string line;
    bool mayHave;
    std::optional<std::size_t> start;  // in characters
    OptionalText prefix, list;
  } cases[] = {
      {"// Hello world", true, 3, "// ", ""}, {"//Hello", true, 2, "//", nullopt},
      {"/// Doc text", true, 4, "/// ", ""},
      // A marker with blanks in front of it rules a list out.
      {"    // indented", true, 7, "    // ", nullopt}, {"// - item", true, 5, "// - ", "- "},
      {"//   wraps here", true, 5, "//   ", "  "}, {"// 1. first", true, 6, "// 1. ", "1. "},
      {"// 42 apples", true, 6, "// 42 ", "42 "}, {"// 2) x", true, 4, "// 2", "2"},
      {"// (see)", true, 3, "// ", ""}, {"// `code`", true, 3, "// ", ""}, {"// a//b", true, 3, "// ", ""},
      {"//", true, nullopt, "//", "//"}, {"// // ", true, nullopt, "// // ", "// // "},
      {"/", true, nullopt, "/", "/"}, {"   ", true, nullopt, "   ", "   "},
      {"", false, nullopt, nullopt, nullopt}, {"code()", false, 0, nullopt, nullopt},
      {"x // y", false, 0, nullopt, nullopt}, {"    let x = 1 // note", true, 4, "    ", nullopt},
      {"\tcode", true, 1, nullopt, "\t"}, {"\t// - tab list", true, 6, "\t// - ", "- "},
      {"- plain list", true, 2, nullopt, "- "}, {"/* block", true, 3, nullopt, "/* "},
      {"\u00A0// nbsp", false, 4, nullopt, nullopt},
      // Non-ASCII letters and marks count as letters; lengths in characters.
      {"// Überall", true, 3, "// ", ""}, {"// e\u0301te\u0301", true, 3, "// ", ""},
      {"// 👍 emoji", true, 5, "// 👍 ", "👍 "}, {"// 🇩🇪 flag text", true, 5, "// 🇩🇪 ", "🇩🇪 "},
      // A combining mark on a digit makes the whole character a text start.
      {"// 4\u0301x", true, 3, "// ", ""}, {"Ärger // x", false, 0, nullopt, nullopt},
      // "//" after the first letter: the text starts at the first non-blank.
      {"- item // note", true, 0, nullopt, nullopt}, {"  42 apples // x", true, 2, "  ", nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("«" + c.line + "»");
    const std::string surrounding = "xx" + c.line + "yy";
    const std::string_view line = std::string_view(surrounding).substr(2, c.line.size());
    EXPECT_EQ(mayHavePrefix(line), c.mayHave);
    const auto start = textStart(line);
    EXPECT_EQ(start ? std::optional(characterCount(line.substr(0, *start))) : nullopt, c.start);
    const auto prefix = commentPrefix(line);
    EXPECT_EQ(owned(prefix), c.prefix);
    if (prefix) {
      EXPECT_EQ(prefix->data(), line.data()) << "prefix must share the line's storage";
    }
    EXPECT_EQ(owned(listPrefix(line)), c.list);
  }
}

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

TEST(ParseLines, ClassifiesEveryLine) {
  const struct {
    const char* name;
    std::vector<std::string> lines;
    std::vector<LineDetail> expected;
  } cases[] = {
      {"ListInComment",
       {"// Some intro text", "// - first item that", "//   wraps here", "// - second item", "// Back to text"},
       {plain("// ", "Some intro text", false), item("// - ", "- ", "first item that", false),
        item("//   ", "  ", "wraps here", true), item("// - ", "- ", "second item", false),
        plain("// ", "Back to text", false)}},
      {"Paragraphs", {"// This is a long", "// paragraph.", "//  ", "// Next paragraph."},
       {plain("// ", "This is a long", false), plain("// ", "paragraph.", true), plain("//  ", "", false),
        plain("// ", "Next paragraph.", false)}},
      {"PlainList", {"- item one", "  continues", "plain after"},
       {item(nullopt, "- ", "item one", false), item(nullopt, "  ", "continues", true),
        plain(nullopt, "plain after", true)}},
      {"Code", {"func a() {", "    let x = 1", "    let y = 2", "}"},
       {plain(nullopt, "func a() {", false), plain("    ", "let x = 1", false), plain("    ", "let y = 2", true),
        plain(nullopt, "}", false)}},
      {"NumberedItemContinues", {"// 1. one", "//    more one"},
       {item("// 1. ", "1. ", "one", false), item("//    ", "   ", "more one", true)}},
      {"DifferentPrefixLengthDoesNotContinue", {"// - first", "//  x"},
       {item("// - ", "- ", "first", false), item("//  ", " ", "x", false)}},
      {"IndentedCommentIsNeverAListItem", {"    // - x", "    // - y"},
       {plain("    // - ", "x", false), plain("    // - ", "y", true)}},
      {"BlankLineAfterContinuedItemJoinsIt", {"// - item", "//   more", "//   "},
       {item("// - ", "- ", "item", false), item("//   ", "  ", "more", true), item("//   ", "//   ", "", true)}},
      {"LineTerminatorsIgnored", {"// a\r\n", "// b\r", "// c\n", "\n\r"},
       {plain("// ", "a", false), plain("// ", "b", true), plain("// ", "c", true), plain(nullopt, "", false)}},
      {"OtherWhitespaceIsText", {"\u00A0\u00A0", "  \t "},
       {plain(nullopt, "\u00A0\u00A0", false), plain("  \t ", "", false)}},
      {"TrailingWhitespaceTrimmed", {"// hello   \t", ""},
       {plain("// ", "hello", false), plain(nullopt, "", false)}},
  };
  for (const auto& c : cases) {
    const std::vector<LineDetail> actual = parseLines(c.lines);
    ASSERT_EQ(actual.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < actual.size(); ++i) {
      EXPECT_TRUE(actual[i] == c.expected[i]) << c.name << " line " << i << " «" << c.lines[i] << "»: got "
                                               << describe(actual[i]) << ", want " << describe(c.expected[i]);
    }
  }
}

TEST(LineDetailEquality, ComparesCanonicalEquivalenceAndAbsence) {
  EXPECT_TRUE(plain("// ", "caf\u00E9", false) == plain("// ", "cafe\u0301", false));
  EXPECT_FALSE(plain(nullopt, "x", false) == plain("", "x", false));
  EXPECT_FALSE(plain("// ", "x", false) == plain("// ", "x", true));
  EXPECT_FALSE(plain("// ", "x", false) == item("// ", "- ", "x", false));
  EXPECT_FALSE(item("// - ", "- ", "x", false) == item("// - ", "* ", "x", false));
}

TEST(LineHelpers, DropTerminatorAndTrimTrailingWhitespace) {
  const std::pair<std::string, std::string> dropping[] = {
      {"a\n", "a"}, {"a\r", "a"}, {"a\r\n", "a"}, {"a\n\r", "a\n"}, {"a\n\n", "a\n"}, {"", ""}};
  for (const auto& [in, out] : dropping) EXPECT_EQ(droppingLineTerminator(in), out) << in;
  const std::pair<std::string, std::string> trimming[] = {
      {"a\t\u00A0\u2028", "a"}, {"   ", "   "}, {"é \u3000", "é"}, {"e\u0301  ", "e\u0301"}, {" x", " x"}};
  for (const auto& [in, out] : trimming) EXPECT_EQ(trimmingTrailingWhitespace(in), out) << in;
}

TEST(LineHelpers, HangingPrefixAndCommentLines) {
  const struct {
    LineDetail detail;
    std::string hanging;
    bool commentLine;
  } cases[] = {
      {plain("// ", "x", false), "// ", true}, {plain("//", "", false), "//", true},
      {plain("    ", "x", false), "    ", false}, {plain(nullopt, "x", false), "", false},
      {item(nullopt, "- ", "x", false), "", false}, {item("// - ", "- ", "x", false), "//   ", false},
      {item("// 1. ", "1. ", "one", false), "//    ", false},
      {item("//   ", "//   ", "", true), "     ", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hangingCommentPrefix(c.detail), c.hanging) << describe(c.detail);
    EXPECT_EQ(isCommentLine(c.detail), c.commentLine) << describe(c.detail);
  }
}

TEST(LineHelpers, IsListContinuation) {
  const struct {
    LineDetail item;
    std::string prefix;
    bool continues;
  } cases[] = {
      {item("//   ", "  ", "x", true), "//   ", true}, {item("//   ", "  ", "x", true), "//  ", false},
      {item(nullopt, "- ", "x", false), "  ", true}, {item(nullopt, "- ", "x", false), "   ", false},
      {item("// - ", "- ", "x", false), "// - ", true}, {item(nullopt, "- ", "x", false), "// ", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isListContinuation(c.item, c.prefix), c.continues) << c.prefix;
}

}  // namespace
}  // namespace brindlewort
