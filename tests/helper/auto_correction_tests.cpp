#include "helper/auto_correction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "helper/typo_corrections.h"

namespace brindlewort {
namespace {

TEST(AutoCorrection, CorrectsAndIsStable) {
  const std::pair<std::string, std::string> cases[] = {
      {"let x = 1  \t\n// note \n", "let x = 1  \t\n// note\n"}, {"// a  \r\n//b\t\r\n", "// a\r\n// b\r\n"},
      {"//a\t\r \n// b \r\r\nc\rd", "// a\n// b\r\nc\rd"}, {"x\n//y", "x\n// y"},
      {"//text\n    //indented", "// text\n    // indented"}, {"//1. first", "// 1. first"},
      {"//MARK: teh part", "// MARK: the part"}, {"// We recieve teh data.", "// We receive the data."},
      {"// Teh TEH teh tEh", "// The THE the tEh"}, {"// alot of Alot", "// a lot of A lot"},
      {"// it dont work", "// it don't work"}, {"// teh `teh teh", "// the `teh teh"},
      {"// call `teh` and `recieve()` for teh", "// call `teh` and `recieve()` for the"},
      {"// it occured. Teh end, seperate!", "// it occurred. The end, separate!"},
      {"// tehé éteh teh", "// tehé éteh the"},
      {std::string("// teh\0\xff teh  ", 14), std::string("// the\0\xff the", 12)},
      // Left as they are (empty expectation): doc comments, separators,
      // directives, code and identifiers.
      {"", ""}, {"///text\n//!text\n////text", ""}, {"//-----\n//=====\n////////\n//", ""},
      {"//go:build linux\n//go:generate stringer", ""}, {"let teh = recieve(seperate) // teh", ""},
      {"// teh_x x_teh teh1 self.teh teh.count teh() $teh @teh #teh --seperate-lines", ""},
      {"// tehValue isTeh", ""},
      // Code lines keep their trailing blanks, which may belong to a
      // multi-line string literal.
      {"const s = `one  \n\ttwo\t\n   \n`;\r\n", ""}};
  for (const auto& [input, corrected] : cases) {
    const std::string expected = corrected.empty() ? input : corrected;
    EXPECT_EQ(autoCorrectString(input), expected);
    EXPECT_EQ(autoCorrectString(expected), expected) << "a second pass changed the text";
  }
}

TEST(TypoCorrectionList, CorrectionsAreNeverMisspellingsThemselves) {
  const auto& pairs = typoCorrectionPairs();
  ASSERT_GT(pairs.size(), 200u);
  for (const auto& [wrong, right] : pairs) {
    for (char c : wrong) ASSERT_TRUE(c >= 'a' && c <= 'z') << wrong;
    std::string words(right);
    std::ranges::replace(words, '\'', ' ');
    std::istringstream stream(words);
    for (std::string word; stream >> word;) EXPECT_FALSE(typoCorrection(word)) << wrong << " -> " << right;
  }
}

}  // namespace
}  // namespace brindlewort
