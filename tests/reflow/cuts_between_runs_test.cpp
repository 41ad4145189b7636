#include "reflow/cuts_between_runs.h"

#include <gtest/gtest.h>

#include "mixed_source.h"
#include "reflow/comment_run_transform.h"

namespace brindlewort {
namespace {

// Pieces are transformed on their own, so a cut inside a run would split it
// into two runs: the pieces' results, put together, would differ from the
// whole text's.
TEST(CutsBetweenRuns, PiecesTransformLikeTheWholeText) {
  auto countRun = [](const std::vector<std::string_view>& lines) {
    return std::vector<std::string>{std::string(lines.front()), "#" + std::to_string(lines.size())};
  };
  std::string oneRun;
  for (int i = 0; i < 200000; ++i) oneRun += "// word word word\n";
  const std::string mixed = test::mixedSource(7, 6u << 20, false) + "// last without end";
  const struct {
    const std::string& text;
    unsigned threads;
    std::size_t pieces;
  } cases[] = {{mixed, 2, 6}, {mixed, 8, 6}, {mixed, 1, 1}, {oneRun, 4, 1}};
  for (const auto& c : cases) {
    const std::vector<std::size_t> cuts = cutsBetweenRuns(c.text, c.threads);
    ASSERT_EQ(cuts.size(), c.pieces + 1) << c.threads;
    std::string pieces;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
      pieces += transformCommentRuns(std::string_view(c.text).substr(cuts[i], cuts[i + 1] - cuts[i]), countRun);
    }
    // Not EXPECT_EQ: its diff of two large texts would take all memory.
    EXPECT_TRUE(pieces == transformCommentRuns(c.text, countRun)) << c.threads;
  }
}

}  // namespace
}  // namespace brindlewort
