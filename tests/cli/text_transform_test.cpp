#include "cli/core/text_transform.h"

#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "engine/comment_length.h"

namespace brindlewort::cli {
namespace {

// Line ends and leading empty lines: kept by the comment-run scope, not by
// the whole-text one. Pieces on several threads come back in text order.
TEST(ScopedRewrap, CommentRunsKeepWhatWholeTextDrops) {
  auto unwrap = [](TextScope scope, const std::string& text, unsigned threads) {
    return inScope(scope, rewrapping(noCommentLengthLimit), threads)(text, "");
  };
  EXPECT_EQ(unwrap(TextScope::commentRuns, "\n// one two\r\n// three\r\n", 1), "\n// one two three\r\n");
  EXPECT_EQ(unwrap(TextScope::wholeText, "\n// one two\r\n// three\r\n", 1), "// one two three\n");
  const std::string text = cli_test::mixedSource(7, 3u << 20, true);
  EXPECT_TRUE(unwrap(TextScope::commentRuns, text, 3) == unwrap(TextScope::commentRuns, text, 1));
}

}  // namespace
}  // namespace brindlewort::cli
