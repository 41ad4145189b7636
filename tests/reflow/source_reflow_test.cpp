// Re-flow of comment runs in source text, case by case: each kind of damage
// seen on real code, and what each mode must do instead. Then random runs
// built from the words that trip re-flow up (item markers, tags, fences,
// nested markers, wide characters): whatever the mode and width, no word is
// lost or reordered, code never changes, each mode is idempotent, and
// filling survives a trip through unwrap.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "reflow/comment_lexer.h"
#include "reflow/comment_line_parts.h"
#include "reflow/source_reflow.h"
#include "reflow_case.h"

namespace brindlewort {
namespace {

using Case = ReflowCase;

class SourceReflow : public testing::TestWithParam<Case> {};

TEST_P(SourceReflow, GivesTheExpectedText) { expectReflowCase(GetParam()); }

constexpr ReflowMode wrap = ReflowMode::wrap;
constexpr ReflowMode fill = ReflowMode::fill;
constexpr ReflowMode unwrap = ReflowMode::unwrap;

const Case cases[] = {
    {"FittingParagraphStays", wrap, 40,
     "// one two\n// three four five six\n", nullptr},
    {"OverlongLineBreaksAndCarriesForward", wrap, 20,
     "// aaaa bbbb cccc dddd eeee\n// ffff\n// gggg\n",
     "// aaaa bbbb cccc\n// dddd eeee ffff\n// gggg\n"},
    {"NewLineOnlyAtParagraphEnd", wrap, 20,
     "// aaaa bbbb cccc dddd eeee ffff\n",
     "// aaaa bbbb cccc\n// dddd eeee ffff\n"},
    {"CodeLinesNeverMove", wrap, 20,
     "int x = 1;  // trailing comment that is long\n// aaaa bbbb cccc dddd\nint y;\n",
     "int x = 1;  // trailing comment that is long\n// aaaa bbbb cccc\n// dddd\nint y;\n"},
    {"NestedMarkerStaysInTheComment", fill, 24,
     "/// // text that is long enough to wrap here\n", nullptr},
    {"SpaceIndentedItemsStayApart", unwrap, 80,
     "  // - one\n  // - two\n", nullptr},
    {"ItemContinuationJoinsItsOwnItem", unwrap, 80,
     "// - one\n//   more\n// - two\n",
     "// - one more\n// - two\n"},
    {"NeverBreakBeforeANumberThatReadsAsItem", fill, 22,
     "// either this one or (2) that\n",
     "// either this one\n// or (2) that\n"},
    {"FencedCodeIsKept", fill, 20,
     "/// ```\n/// let x = foo(bar, baz, qux, quux)\n/// ```\n", nullptr},
    {"SeparatorIsKept", fill, 10, "// ------------------\n", nullptr},
    {"TodoStartsAParagraph", unwrap, 80,
     "// Some prose here.\n// TODO: fix it\n", nullptr},
    {"DirectiveIsKept", unwrap, 80,
     "// gofail: var x string\n// return x\n", nullptr},
    {"TableIsKept", fill, 20,
     "// name    value\n// width   80 columns wide\n", nullptr},
    {"ListHangsUnderItsText", fill, 20,
     "// - aaaa bbbb cccc dddd eeee\n",
     "// - aaaa bbbb cccc\n//   dddd eeee\n"},
    {"SwitchedOffRegionIsKept", fill, 20,
     "// brindle: off\n// aaaa bbbb cccc dddd eeee\n// brindle: on\n", nullptr},
    {"CrLfLineEndsKept", wrap, 20,
     "// aaaa bbbb cccc dddd\r\n", "// aaaa bbbb cccc\r\n// dddd\r\n"},
    {"NoFinalLineEndKept", wrap, 20,
     "// aaaa bbbb cccc dddd", "// aaaa bbbb cccc\n// dddd"},
    {"TabsCountToTheirStop", wrap, 40,
     "\t\t// aaaa bbbb cccc dddd eeee\n", "\t\t// aaaa bbbb cccc dddd\n\t\t// eeee\n"},
    {"TooLittleRoomLeavesParagraph", wrap, 30,
     "//                    - aaaa bbbb cccc dddd eeee\n", nullptr},
    // Joined, it could not be wrapped back.
    {"TooLittleRoomIsNotJoined", unwrap, 30,
     "\t\t// aaaa bbbb\n\t\t// cccc dddd\n", nullptr},
    // "+=" in a sentence about code may open a line; "+---+" would be a table.
    {"CompoundAssignmentOpensLine", fill, 20,
     "// iteration, aeee += xe is a bound\n", "// iteration, aeee\n// += xe is a bound\n"},
    // Shown as an emoji, a text-style heart takes two columns.
    {"EmojiPresentationTakesTwoColumns", wrap, 9, "// ab \u2764\uFE0F c\n", "// ab \u2764\uFE0F\n// c\n"},
    // A dump of values reads as code, not as words to re-flow.
    {"ValueDumpIsKept", wrap, 30, "// {AuxCall{f([x,0])[y,8]}} [32] more words\n", nullptr},
    {"BracesInProseAreWords", wrap, 30, "// returns Value{} or {@link Foo} as ${HOME} says\n",
     "// returns Value{} or\n// {@link Foo} as ${HOME} says\n"},
    // A sentence may end in a semicolon; a short statement is code.
    {"SemicolonEndsSentence", fill, 40,
     "// Assume values are still in roughly textual order;\n",
     "// Assume values are still in roughly\n// textual order;\n"},
    {"ShortStatementIsKept", fill, 12, "// aaaa bbbb cccc\n// int x;\n",
     "// aaaa bbbb\n// cccc\n// int x;\n"},
    {"TableBorderDoesNotOpenLine", fill, 20,
     "// iteration, aeee +--+ xe is a bound\n", "// iteration,\n// aeee +--+ xe is a\n// bound\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SourceReflow, testing::ValuesIn(cases),
                         [](const auto& param) { return std::string(param.param.name); });

// Code lines as they are, and the words of comment lines after their marker.
std::vector<std::string> tokens(std::string_view text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (startsWithLineComment(line)) {
      const std::string_view body = splitCommentLine(line).body;
      std::size_t at = 0;
      while (at < body.size()) {
        while (at < body.size() && (body[at] == ' ' || body[at] == '\t')) ++at;
        std::size_t stop = at;
        while (stop < body.size() && body[stop] != ' ' && body[stop] != '\t') ++stop;
        if (stop > at) out.emplace_back(body.substr(at, stop - at));
        at = stop;
      }
    } else {
      out.emplace_back("code:" + std::string(line));
    }
    start = end + 1;
  }
  return out;
}

std::string randomText(std::mt19937& random) {
  // Mostly prose, as comments are, with the words that trip re-flow up
  // mixed in.
  static const std::vector<std::string> words{
      "alpha", "be", "comment", "the", "value", "is", "returned", "when", "é", "日本語", "x",
      "longerwordthanmost", "end.", "a|b", "naïve", "e.g.", "over", "lines"};
  static const std::vector<std::string> tricky{"-", "*", "(2)", "1.", "a)", "TODO:", "@param", "```",
                                               "//", "#", "!", "/", "\\brief", "NOTE", "+", "--",
                                               "2025-09-18:", "[x]", "REQUIRES:", "key:", "x.y()", "]",
                                               "Then", "let", "Copyright"};
  static const std::vector<std::string> prefixes{"// ", "/// ", "//! ", "  // ", "//   ", "// - ",
                                                 "//", "\t// "};
  std::uniform_int_distribution<std::size_t> word(0, words.size() - 1);
  std::uniform_int_distribution<std::size_t> trick(0, tricky.size() - 1);
  std::uniform_int_distribution<std::size_t> prefix(0, prefixes.size() - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  std::string text;
  const int lines = 1 + percent(random) % 12;
  for (int l = 0; l < lines; ++l) {
    if (percent(random) < 10) {
      text += "int code = 1;  // not a run\n";
      continue;
    }
    text += prefixes[prefix(random)];
    const int count = percent(random) % 14;
    for (int w = 0; w < count; ++w) {
      if (w > 0) text += percent(random) < 10 ? "  " : " ";
      text += percent(random) < 12 ? tricky[trick(random)] : words[word(random)];
    }
    text += '\n';
  }
  return text;
}

TEST(ReflowProperties, NothingLostIdempotentAndRoundTrips) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 4000; ++round) {
    const std::string text = randomText(random);
    // Wide enough that paragraphs of these tricky words can be filled again
    // after being joined.
    const std::size_t width = 30 + static_cast<std::size_t>(round % 90);
    for (const ReflowMode mode : {ReflowMode::wrap, ReflowMode::fill, ReflowMode::unwrap}) {
      const std::string once = reflow(text, mode, width);
      ASSERT_EQ(tokens(once), tokens(text)) << "width " << width << " mode " << int(mode) << "\n" << text;
      ASSERT_EQ(reflow(once, mode, width), once) << "width " << width << " mode " << int(mode) << "\n" << text;
    }
    const std::string filled = reflow(text, ReflowMode::fill, width);
    ASSERT_EQ(reflow(reflow(filled, ReflowMode::unwrap, width), ReflowMode::fill, width), filled)
        << "width " << width << "\n" << text;
  }
}

}  // namespace
}  // namespace brindlewort
