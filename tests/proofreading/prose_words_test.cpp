#include "proofreading/prose_words.h"

#include <gtest/gtest.h>

#include "proofreading/utf16_characters.h"

namespace brindlewort {
namespace {

struct WordsCase {
  std::string name;
  std::string text;
  std::vector<std::string> expected;
};
void PrintTo(const WordsCase& c, std::ostream* os) { *os << c.name; }

class ProseWords : public testing::TestWithParam<WordsCase> {};

TEST_P(ProseWords, LeavesCodeAlone) {
  const icu::UnicodeString text = toUtf16(GetParam().text);
  std::vector<std::string> words;
  for (const WordSpan& w : proseWords(text)) words.push_back(utf8Slice(text, w.start, w.length));
  EXPECT_EQ(words, GetParam().expected);
}

using W = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Cases, ProseWords,
    testing::Values(
        WordsCase{"PlainWords", "Thsi is, a smple!", W{"Thsi", "is", "a", "smple"}},
        WordsCase{"ContractionsAndPossessives", "don't the user's doesn\u2019t",
                  W{"don't", "the", "user's", "doesn\u2019t"}},
        WordsCase{"Identifiers", "camelCase snake_case utf8 HTTPServer NASA x86 iPhone", W{}},
        WordsCase{"Backticks", "use `fooo barr` here", W{"use", "here"}},
        WordsCase{"UnclosedBacktickRunsToEnd", "see `fooo barr", W{"see"}},
        WordsCase{"Urls", "see https://exmple.org/pth and www.exmple.org", W{"see", "and"}},
        WordsCase{"Email", "mail jon.doe@exmple.org now", W{"mail", "now"}},
        WordsCase{"Paths", "in /usr/lcal/bin or src/mian.cpp or C:\\Prgram ~/cnf", W{"in", "or", "or"}},
        WordsCase{"FileNamesAndAbbreviations", "edit main.cpp, e.g. this", W{"edit", "this"}},
        WordsCase{"HexNumbers", "mask 0xFFab and #ffaacc", W{"mask", "and"}},
        WordsCase{"CodeSyntax", "call frob() or std::vectr or p->nxt", W{"call", "or", "or"}},
        WordsCase{"NumbersAreNotWords", "costs 42 units", W{"costs", "units"}},
        WordsCase{"IdeographsLeftToTheirOwnTools", "漢字 text", W{"text"}},
        WordsCase{"AccentedWords", "naïve café", W{"naïve", "café"}},
        WordsCase{"LongRunsAreData", "a " + std::string(65, 'q') + " b", W{"a", "b"}}),
    [](const auto& c) { return c.param.name; });

}  // namespace
}  // namespace brindlewort
