#include "cli/core/text_transform.h"

#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "engine/comment_length.h"
#include "engine/rewrap.h"

namespace brindlewort::cli {
namespace {

// Line ends and leading empty lines: kept by the comment-run scope, not by
// the whole-text one.
TEST(ScopedRewrap, CommentRunsKeepWhatWholeTextDrops) {
  auto unwrap = [](TextScope scope, const std::string& text) {
    return inScope(scope, rewrapping(noCommentLengthLimit), 1)(text);
  };
  EXPECT_EQ(unwrap(TextScope::commentRuns, "\n// one two\r\n// three\r\n"), "\n// one two three\r\n");
  EXPECT_EQ(unwrap(TextScope::wholeText, "\n// one two\r\n// three\r\n"), "// one two three\n");
}

// Cutting a text between runs must not change the result; one huge run
// stays whole.
TEST(CommentRunsInParallel, MatchesSequentialResult) {
  // The run's lines joined, then their count on a line of its own.
  auto markRun = [](const std::vector<std::string_view>& lines) {
    std::string joined;
    for (std::string_view line : lines) joined += line;
    return std::vector<std::string>{joined, "#" + std::to_string(lines.size())};
  };
  const std::string text = cli_test::mixedSource(7, 6u << 20, false) + "// last without end";
  const std::string expected = transformCommentRuns(text, markRun);
  for (unsigned threads : {2u, 3u, 8u}) {
    EXPECT_EQ(transformCommentRunsInParallel(text, markRun, threads), expected) << threads;
  }
  std::string run;
  for (int i = 0; i < 200000; ++i) run += "// word word word\n";
  EXPECT_TRUE(transformCommentRunsInParallel(run, markRun, 4).ends_with("\n#200000\n"));
}

}  // namespace
}  // namespace brindlewort::cli
