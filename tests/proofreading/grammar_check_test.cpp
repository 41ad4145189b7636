#include "proofreading/grammar_check.h"

#include <gtest/gtest.h>

namespace brindlewort {
namespace {

using Lines = std::vector<std::string>;

struct GrammarCase {
  std::string name;
  Lines input;
  Lines expected;
};
void PrintTo(const GrammarCase& c, std::ostream* os) { *os << c.name; }

class GrammarCheckLines : public testing::TestWithParam<GrammarCase> {};

TEST_P(GrammarCheckLines, InsertsMarkerLines) {
  const Lines& input = GetParam().input;
  EXPECT_EQ(grammarCheckLines(input), GetParam().expected);
  EXPECT_EQ(grammarCheckLines(std::vector<std::string_view>(input.begin(), input.end())), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, GrammarCheckLines,
    testing::Values(
        GrammarCase{"SingleLine",
                    {"// The file is written by the tool."},
                    {"// The file is written by the tool.", "//          ▲▲▲▲▲▲▲▲▲▲"}},
        GrammarCase{"SplitOverContinuation",
                    {"// The value is", "// computed later."},
                    {"// The value is", "//           ▲▲", "// computed later.", "// ▲▲▲▲▲▲▲▲"}},
        GrammarCase{"ListItemMarkerBlanked",
                    {"// - Files were added and"},
                    {"// - Files were added and", "//         ▲▲▲▲▲▲▲▲▲▲"}}),
    [](const auto& c) { return c.param.name; });

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, GrammarCheckLines,
    testing::Values(
        GrammarCase{"PunctuationAfterParticipleUnmarked", {"// It was tested."},
                    {"// It was tested.", "//    ▲▲▲▲▲▲▲▲▲▲"}},
        GrammarCase{"PerfectTenseAndAdjective", {"// I have walked, am tired"},
                    {"// I have walked, am tired", "//   ▲▲▲▲▲▲▲▲▲▲▲  ▲▲▲▲▲▲▲▲"}},
        GrammarCase{"SeveralMatchesOnOneLine", {"// it is written and was added"},
                    {"// it is written and was added", "//    ▲▲▲▲▲▲▲▲▲▲     ▲▲▲▲▲▲▲▲▲"}},
        GrammarCase{"CodeLineMarkerWithoutPrefix", {"x is sealed"}, {"x is sealed", "  ▲▲▲▲▲▲▲▲▲"}},
        GrammarCase{"EmptyLineInsideMatchGetsBareMarker", {"x is", "", "sealed"},
                    {"x is", "  ▲▲", "", "", "sealed", "▲▲▲▲▲▲"}},
        GrammarCase{"CarriageReturnLines", {"// it is written\r"}, {"// it is written\r", "//    ▲▲▲▲▲▲▲▲▲▲"}}),
    [](const auto& c) { return c.param.name; });

// One mark per character, under the characters of the construction.
INSTANTIATE_TEST_SUITE_P(
    WideCharacters, GrammarCheckLines,
    testing::Values(
        GrammarCase{"AfterEmoji", {"// 😀 is written"}, {"// 😀 is written", "//   ▲▲▲▲▲▲▲▲▲▲"}},
        GrammarCase{"AfterCombiningMark", {"// cafe\u0301 is sealed"},
                    {"// cafe\u0301 is sealed", "//      ▲▲▲▲▲▲▲▲▲"}},
        GrammarCase{"CombiningMarkInsideMatch", {"// is wri\u0301tten"}, {"// is wri\u0301tten", "// ▲▲▲▲▲▲▲▲▲▲"}},
        GrammarCase{"EmojiInParticiple", {"// is 😀ed ok"}, {"// is 😀ed ok", "// ▲▲▲▲▲▲"}},
        GrammarCase{"AfterCjk", {"// 日本語 is written"}, {"// 日本語 is written", "//     ▲▲▲▲▲▲▲▲▲▲"}},
        GrammarCase{"SplitAfterEmoji", {"// a 😀 value is", "// sealed later"},
                    {"// a 😀 value is", "//           ▲▲", "// sealed later", "// ▲▲▲▲▲▲"}}),
    [](const auto& c) { return c.param.name; });

// Matches are handed to lines in one sweep; each must still land on its own.
TEST(GrammarCheckLines, ManyMatchesEachOnItsLine) {
  Lines input, expected;
  for (int i = 0; i < 2000; ++i) {
    input.insert(input.end(), {"// it is written", "code();"});
    expected.insert(expected.end(), {"// it is written", "//    ▲▲▲▲▲▲▲▲▲▲", "code();"});
  }
  EXPECT_EQ(grammarCheckLines(input), expected);
}

TEST(PassiveVoiceFindings, LineColumnAndText) {
  EXPECT_EQ(passiveVoiceFindings(Lines{"int x;", "// The value is", "// computed later.", "// 😀 it was added"}),
            (std::vector<PassiveVoiceFinding>{{1, 13, "is computed"}, {3, 8, "was added"}}));
  EXPECT_EQ(passiveVoiceFindings(Lines{"// first", "// it was", "// sealed"}),
            (std::vector<PassiveVoiceFinding>{{1, 6, "was sealed"}}));
  EXPECT_TRUE(passiveVoiceFindings(Lines{"// nothing"}).empty());
}

}  // namespace
}  // namespace brindlewort
