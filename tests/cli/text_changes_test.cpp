#include "cli/core/text_changes.h"

#include <gtest/gtest.h>

namespace brindlewort::cli {

void PrintTo(const LineChange& c, std::ostream* out) {
  *out << "{" << c.oldFirst << "," << c.oldCount << " -> " << c.newFirst << "," << c.newCount << "}";
}

namespace {

TEST(LineChanges, FindsEachChangedStretch) {
  const struct {
    const char* before;
    const char* after;
    std::vector<LineChange> changes;
  } cases[] = {
      {"a\nb\n", "a\nb\n", {}},
      {"", "", {}},
      {"a\nlong\nb\n", "a\nlo\nng\nb\n", {{1, 1, 1, 2}}},
      {"x\n1\n2\ny\n", "x\n12\ny\n", {{1, 2, 1, 1}}},
      // Two paragraphs apart, each its own stretch.
      {"p q\nc\np q\n", "p\nq\nc\np\nq\n", {{0, 1, 0, 2}, {2, 1, 3, 2}}},
      // Only the last line's line end differs.
      {"a\nb", "a\nb\n", {{1, 1, 1, 1}}},
      {"a\n", "", {{0, 1, 0, 0}}},
      {"", "a\n", {{0, 0, 0, 1}}},
      {"a\nb\n", "a\nb\nc\n", {{2, 0, 2, 1}}},
  };
  for (const auto& c : cases) EXPECT_EQ(lineChanges(c.before, c.after), c.changes) << c.before;
}

TEST(UnifiedDiff, WritesHunksAsDiffDoes) {
  EXPECT_EQ(unifiedDiff("f", "same\n", "same\n"), "");
  EXPECT_EQ(unifiedDiff("f", "", "a\n"), "--- f\n+++ f\n@@ -0,0 +1 @@\n+a\n");
  EXPECT_EQ(unifiedDiff("f", "a\nb", "a\nc"),
            "--- f\n+++ f\n@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+c\n"
            "\\ No newline at end of file\n");
  // Changes closer than twice the context share a hunk.
  EXPECT_EQ(unifiedDiff("f", "1\n2\n3\n4\n5\n6\n7\n8\n", "1\nX\n3\n4\n5\n6\n7\nY\n"),
            "--- f\n+++ f\n@@ -1,8 +1,8 @@\n 1\n-2\n+X\n 3\n 4\n 5\n 6\n 7\n-8\n+Y\n");
}

}  // namespace
}  // namespace brindlewort::cli
