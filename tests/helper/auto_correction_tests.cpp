#include "helper/auto_correction.h"

#include <gtest/gtest.h>

#include <ostream>

#include <random>
#include <string>

#include "helper/typo_corrections.h"

namespace brindlewort {
namespace {

struct Case {
  const char* name;
  std::string input;
  std::string expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class AutoCorrectionCases : public ::testing::TestWithParam<Case> {};

TEST_P(AutoCorrectionCases, CorrectsAndIsStable) {
  const Case& c = GetParam();
  const std::string corrected = autoCorrectString(c.input);
  EXPECT_EQ(corrected, c.expected);
  EXPECT_EQ(autoCorrectString(corrected), corrected) << "a second pass changed the text";
}

INSTANTIATE_TEST_SUITE_P(
    Table, AutoCorrectionCases,
    ::testing::Values(
        Case{"empty", "", ""},
        Case{"trailingBlanks", "let x = 1  \t\n// note \n", "let x = 1\n// note\n"},
        Case{"crlfKept", "a  \r\nb\t\r\n", "a\r\nb\r\n"},
        Case{"strayCarriageReturns", "a\t\r \nb \r\r\nc\rd", "a\nb\r\nc\rd"},
        Case{"onlyBlanks", "   \n\t\n", "\n\n"},
        Case{"spaceAfterSlashes", "//text\n    //indented", "// text\n    // indented"},
        Case{"digitAfterSlashes", "//1. first", "// 1. first"},
        Case{"docCommentsLeftAlone", "///text\n//!text\n////text", "///text\n//!text\n////text"},
        Case{"separatorsLeftAlone", "//-----\n//=====\n////////\n//", "//-----\n//=====\n////////\n//"},
        Case{"directivesLeftAlone", "//go:build linux\n//go:generate stringer",
             "//go:build linux\n//go:generate stringer"},
        Case{"markGetsSpace", "//MARK: teh part", "// MARK: the part"},
        Case{"typoInComment", "// We recieve teh data.", "// We receive the data."},
        Case{"caseKept", "// Teh TEH teh tEh", "// The THE the tEh"},
        Case{"multiWordCorrection", "// alot of Alot", "// a lot of A lot"},
        Case{"apostropheCorrection", "// it dont work", "// it don't work"},
        Case{"codeLineUntouched", "let teh = recieve(seperate) // teh",
             "let teh = recieve(seperate) // teh"},
        Case{"backticksProtect", "// call `teh` and `recieve()` for teh",
             "// call `teh` and `recieve()` for the"},
        Case{"unclosedBacktickProtectsRest", "// teh `teh teh", "// the `teh teh"},
        Case{"identifiersProtected",
             "// teh_x x_teh teh1 self.teh teh.count teh() $teh @teh #teh --seperate-lines",
             "// teh_x x_teh teh1 self.teh teh.count teh() $teh @teh #teh --seperate-lines"},
        Case{"sentenceEndCorrected", "// it occured. Teh end, seperate!",
             "// it occurred. The end, separate!"},
        Case{"nonAsciiNeighboursProtect", "// tehé éteh teh", "// tehé éteh the"},
        Case{"camelCaseUntouched", "// tehValue isTeh", "// tehValue isTeh"},
        Case{"nulAndInvalidBytesPassThrough", std::string("// teh\0\xff teh  ", 14),
             std::string("// the\0\xff the", 12)},
        Case{"noFinalNewlineKept", "x\n//y", "x\n// y"}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(TypoCorrectionList, CorrectionsAreNeverMisspellingsThemselves) {
  const auto& pairs = typoCorrectionPairs();
  ASSERT_GT(pairs.size(), 200u);
  for (const auto& [wrong, right] : pairs) {
    for (char c : wrong) ASSERT_TRUE(c >= 'a' && c <= 'z') << wrong;
    std::string word;
    for (char c : std::string(right) + ' ') {
      if (c == ' ' || c == '\'') {
        EXPECT_FALSE(typoCorrection(word).has_value()) << wrong << " -> " << right;
        word.clear();
      } else {
        word += c;
      }
    }
  }
}

TEST(AutoCorrection, RandomBytesNeverCrashAndSettle) {
  std::mt19937 random(7);
  const std::string alphabet = "/ \t\r\n`_.(teh)recieveTEH\xc3\xa9\xff";
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const auto length = random() % 64;
    for (unsigned i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    const std::string once = autoCorrectString(text);
    ASSERT_EQ(autoCorrectString(once), once) << "input: " << text;
  }
}

}  // namespace
}  // namespace brindlewort
