#include "engine/characters.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/utf8_validation.h"

namespace brindlewort {
namespace {

TEST(Characters, CountsGraphemeClusters) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"", 0},     {"abc", 3},  {"a\r\nb", 3},   {"\r\r\n", 2}, {"e\u0301", 1},
      {"👍🏽", 1}, {"👨‍👩‍👧", 1}, {"🇩🇪🇫🇷", 2}, {"日本語", 3}, {"a\tb", 3}};
  for (const auto& [text, count] : cases) EXPECT_EQ(characterCount(text), count) << text;
}

TEST(Characters, InvalidUtf8NeverCrashesAndCountsSomething) {
  const std::string bad = "a\xff\xfe\xc3(b\xe2\x82";
  EXPECT_GT(characterCount(bad), 0u);
  EXPECT_EQ(byteOffsetAfterCharacters(bad, 100), bad.size());
}

TEST(Characters, SameCharactersUsesCanonicalEquivalence) {
  EXPECT_TRUE(sameCharacters("caf\u00E9", "cafe\u0301"));
  EXPECT_FALSE(sameCharacters("cafe", "caf\u00E9"));
  EXPECT_FALSE(sameCharacters("// ", "//"));
}

TEST(Utf8Validation, ReportsFirstBadByteOffset) {
  const std::vector<std::pair<std::string, std::optional<std::size_t>>> cases = {
      {"plain", std::nullopt}, {"h\u00E9llo 👍", std::nullopt}, {"ab\xff", 2}, {"\xc3", 0},
      {"ok\xed\xa0\x80", 2},  // a UTF-16 surrogate is not a scalar
      {"x\xc0\xaf", 1},       // overlong slash
  };
  for (const auto& [text, offset] : cases) EXPECT_EQ(firstInvalidUtf8Offset(text), offset);
}

TEST(Characters, BlankingOccurrencesHonoursSearchDirection) {
  struct Case {
    std::string text, marker;
    SearchDirection direction;
    std::string expected;
  };
  constexpr SearchDirection backward = SearchDirection::backward, forward = SearchDirection::forward;
  const Case cases[] = {
      {"// - ", "-", backward, "//   "}, {"// // ", "//", backward, "      "}, {"/// //", "//", backward, "/     "},
      {"/// //", "//", forward, "  /   "}, {"// – ", "–", forward, "//   "},   {"abc", "", forward, "abc"},
      {"a", "abc", backward, "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(blankingOccurrences(c.text, c.marker, c.direction), c.expected) << c.text;
}

}  // namespace
}  // namespace brindlewort
