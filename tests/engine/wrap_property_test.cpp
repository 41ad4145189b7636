// Randomised documents: whatever the width, wrapping and unwrapping never
// lose, add or reorder a word of comment text, and unwrapping is stable.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/comment_length.h"
#include "engine/rewrap.h"

namespace brindlewort {
namespace {

std::vector<std::string> words(const std::vector<std::string>& lines) {
  std::vector<std::string> result;
  for (const std::string& line : lines) {
    std::istringstream stream(line);
    for (std::string word; stream >> word;) {
      // Comment markers and list markers are layout, not words.
      if (word.find_first_not_of('/') == std::string::npos || word == "-" || word == "*") continue;
      result.push_back(word);
    }
  }
  return result;
}

std::vector<std::string> randomDocument(std::mt19937& random) {
  static const std::vector<std::string> vocabulary = {
      "alpha", "beta", "gamma", "é", "naïve", "日本", "👍🏽", "x", "longerwordthanusual", "a,b", "(see)", "`code`"};
  static const std::vector<std::string> prefixes = {"// ", "/// ", "    // ", "// - ", "// 1. ", "//   "};
  std::uniform_int_distribution<std::size_t> pick(0, vocabulary.size() - 1);
  std::uniform_int_distribution<std::size_t> pickPrefix(0, prefixes.size() - 1);
  std::uniform_int_distribution<int> count(1, 12);
  std::uniform_int_distribution<int> kind(0, 9);

  std::vector<std::string> lines;
  const int lineCount = count(random) * 2;
  for (int i = 0; i < lineCount; ++i) {
    const int k = kind(random);
    if (k == 0) {
      lines.emplace_back("//");
      continue;
    }
    std::string line = prefixes[pickPrefix(random)];
    const int wordCount = count(random);
    for (int w = 0; w < wordCount; ++w) {
      if (w > 0) line += (kind(random) == 0 ? "  " : " ");
      // Symbols in front of a line's first letter belong to its list
      // marker, so a line's first word is always text.
      std::string word = vocabulary[pick(random)];
      while (w == 0 && (word == "👍🏽" || word == "a,b")) word = vocabulary[pick(random)];
      line += word;
    }
    lines.push_back(line);
  }
  return lines;
}

TEST(WrapProperty, NoCommentWordLostOrReordered) {
  std::mt19937 random(20261206);
  for (int iteration = 0; iteration < 500; ++iteration) {
    const std::vector<std::string> document = randomDocument(random);
    const std::vector<std::string> original = words(document);
    bool hasSymbolWords = false;
    for (const std::string& word : original) hasSymbolWords |= word == "👍🏽";
    for (const std::int64_t width : {std::int64_t{0}, std::int64_t{10}, std::int64_t{25},
                                     std::int64_t{80}, noCommentLengthLimit}) {
      const auto wrapped = rewrapLines(document, width);
      ASSERT_EQ(words(wrapped), original) << "width " << width << " iteration " << iteration;
      const auto unwrapped = rewrapLines(wrapped, noCommentLengthLimit);
      ASSERT_EQ(words(unwrapped), original);
      // A symbol that wrapping moves to the start of a line joins that
      // line's prefix, so stability only holds for text-initial words.
      if (!hasSymbolWords) {
        ASSERT_EQ(rewrapLines(unwrapped, noCommentLengthLimit), unwrapped) << "unwrap is stable";
      }
    }
  }
}

}  // namespace
}  // namespace brindlewort
