// Counting line feeds eight bytes at a time gives the plain count, with
// bytes that differ from a line feed in one bit only (0x0B, 0x8A, 0x08)
// around them, at every alignment.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "base/line_feeds.h"

namespace brindlewort {
namespace {

TEST(LineFeeds, CountedAsOneByOne) {
  const char bytes[] = {'\n', '\n', 'a', '\x0B', '\x8A', '\x08', '\x0A', '\x00', '\xFF', '\x0E'};
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string text(random() % 40, ' ');
    for (char& c : text) c = bytes[random() % std::size(bytes)];
    for (std::size_t start = 0; start < std::min<std::size_t>(text.size(), 9); ++start) {
      const std::string_view view = std::string_view(text).substr(start);
      EXPECT_EQ(countLineFeeds(view), static_cast<std::size_t>(std::count(view.begin(), view.end(), '\n')));
    }
  }
  EXPECT_EQ(countLineFeeds(""), 0u);
}

}  // namespace
}  // namespace brindlewort
