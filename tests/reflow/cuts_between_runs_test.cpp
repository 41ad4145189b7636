#include "reflow/cuts_between_runs.h"

#include <gtest/gtest.h>

#include "mixed_source.h"
#include "reflow/comment_runs.h"

namespace brindlewort {
namespace {

// Pieces are transformed on their own, so a cut inside a run would split it
// into two runs and change the result.
TEST(CutsBetweenRuns, CutOnlyAtLinesOutsideRuns) {
  std::string oneRun;
  for (int i = 0; i < 200000; ++i) oneRun += "// word word word\n";
  const struct {
    std::string text;
    unsigned threads;
    std::size_t minimumPieces;
  } cases[] = {
      {test::mixedSource(7, 6u << 20, false) + "// last without end", 3, 3},
      {test::mixedSource(8, 6u << 20, false), 8, 6},
      {test::mixedSource(9, 6u << 20, false), 1, 1},
      {std::string(1 << 19, '\n'), 8, 1},  // too small to be worth cutting
      {oneRun, 4, 1},
  };
  for (const auto& c : cases) {
    const std::vector<std::size_t> cuts = cutsBetweenRuns(c.text, c.threads);
    ASSERT_GE(cuts.size(), c.minimumPieces + 1) << c.threads;
    EXPECT_EQ(cuts.front(), 0u);
    EXPECT_EQ(cuts.back(), c.text.size());
    for (std::size_t i = 1; i + 1 < cuts.size(); ++i) {
      ASSERT_GT(cuts[i], cuts[i - 1]);
      EXPECT_EQ(c.text[cuts[i] - 1], '\n');
      const std::size_t feed = c.text.find('\n', cuts[i]);
      std::string_view line = std::string_view(c.text).substr(cuts[i], feed - cuts[i]);
      if (line.ends_with('\r')) line.remove_suffix(1);
      EXPECT_FALSE(isCommentRunLine(line)) << line;
    }
  }
}

}  // namespace
}  // namespace brindlewort
