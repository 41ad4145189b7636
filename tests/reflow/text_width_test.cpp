// Display columns: ASCII is counted eight bytes at a time, so every row
// puts its tab, wide or combining character before, at and after an
// eight-byte boundary.

#include <gtest/gtest.h>

#include "reflow/text_width.h"

namespace brindlewort {
namespace {

TEST(TextWidth, CountsColumnsAcrossEightByteSteps) {
  struct Case {
    const char* text;
    std::size_t start;
    std::size_t expected;  // with tab stops every 4 columns
  };
  const Case cases[] = {
      {"", 0, 0},
      {"abcdefg", 0, 7},
      {"abcdefgh", 0, 8},
      {"abcdefghijklmnopq", 2, 19},
      {"\tx", 3, 5},
      {"abcdefgh\tx", 0, 13},
      {"abcdefghij\tx", 0, 13},
      {"abcdefg\tx", 0, 9},
      {"\xE6\x97\xA5\xE6\x9C\xAC" "abcdefgh", 0, 12},   // two wide characters
      {"abcdefgh\xE6\x97\xA5", 0, 10},
      {"abcdefghe\xCC\x81", 0, 9},                        // a combining accent
      {"abcdefgh\xE2\x9D\xA4\xEF\xB8\x8F", 0, 10},       // a heart drawn as an emoji
      {"abcdefghijklmno\xC3\xA9", 0, 16},
  };
  const TextWidth columns = TextWidth::columns(4);
  for (const Case& c : cases) EXPECT_EQ(columns.advance(c.start, c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace brindlewort
