// Re-flow of comment runs in source text, case by case: each kind of damage
// seen on real code, and what each mode must do instead.

#include <gtest/gtest.h>

#include <string>

#include "reflow/comment_lines.h"
#include "reflow/source_reflow.h"

namespace brindlewort {
namespace {

std::string reflow(std::string_view text, ReflowMode mode, std::size_t width) {
  SourceReflowOptions options;
  options.settings.mode = mode;
  options.settings.width = width;
  return reflowSource(text, commentLines(text, nullptr), options);
}

struct Case {
  const char* name;
  ReflowMode mode;
  std::size_t width;
  const char* input;
  const char* expected;  // null: unchanged
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class SourceReflow : public testing::TestWithParam<Case> {};

TEST_P(SourceReflow, GivesTheExpectedText) {
  const Case& c = GetParam();
  const std::string expected = c.expected ? c.expected : c.input;
  const std::string once = reflow(c.input, c.mode, c.width);
  EXPECT_EQ(once, expected);
  EXPECT_EQ(reflow(once, c.mode, c.width), once) << "not idempotent";
}

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
};

INSTANTIATE_TEST_SUITE_P(Cases, SourceReflow, testing::ValuesIn(cases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace brindlewort
