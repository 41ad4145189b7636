#include "reflow/comment_run_walker.h"

#include <gtest/gtest.h>

#include "mixed_source.h"
#include "reflow/comment_lexer.h"
#include "reflow/comment_run_rewriting.h"
#include "reflow/cuts_between_runs.h"

namespace brindlewort {
namespace {

// Shows how lines were grouped: the run's lines between < and >, then an
// added line with their count, which must get the run's line end.
std::vector<std::string> markRun(const std::vector<std::string_view>& lines) {
  std::string joined = "<";
  for (std::size_t i = 0; i < lines.size(); ++i) (joined += i ? "|" : "") += lines[i];
  return {joined + ">", "#" + std::to_string(lines.size())};
}

// The runs the line rule finds, transformed.
std::string transformed(std::string_view text, const LinesTransform& transform) {
  return transformCommentRuns(text, lexComments(text, nullptr), transform);
}

TEST(CommentRuns, GroupsRunsAndCopiesOtherLines) {
  const struct {
    const char* name;
    std::string text;
    std::string expected;
  } cases[] = {
      {"empty", "", ""}, {"codeOnly", "int a;\n  b();\n\n", "int a;\n  b();\n\n"},
      {"oneRun", "a\n// x\n// y\nb\n", "a\n<// x|// y>\n#2\nb\n"},
      {"blankLineSplitsRuns", "// x\n   \n// y\n", "<// x>\n#1\n   \n<// y>\n#1\n"},
      {"bareMarkerBelongsToRun", "// x\n//\n// y\n", "<// x|//|// y>\n#3\n"},
      {"indentedAndTabbed", "    /// doc\n\t// tab\n", "<    /// doc|\t// tab>\n#2\n"},
      {"crlfKept", "a\r\n// x\r\n// y\r\nb\r\n", "a\r\n<// x|// y>\r\n#2\r\nb\r\n"},
      {"runEndsLikeItsFirstLine", "// x\r\n// y\n", "<// x|// y>\r\n#2\r\n"},
      {"noFinalLineEnd", "a\n// x\n// y", "a\n<// x|// y>\n#2"},
      {"lastLineAloneWithoutEnd", "a\r\n// x", "a\r\n<// x>\r\n#1"},
      // Code before the marker must never be copied onto new lines.
      {"codeBeforeMarker", "}  // end if\n}  // end for\n", "}  // end if\n}  // end for\n"},
      {"blockComment", "/* block\n * star\n */\n", "/* block\n * star\n */\n"},
      {"loneCarriageReturnStaysInLine", "// a\rb\n", "<// a\rb>\n#1\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(transformed(c.text, markRun), c.expected) << c.name;
}

// Line numbers and byte ranges are what --check reports and what the cuts
// between pieces rely on; a walk may start in the middle of a text.
TEST(CommentRunWalker, NumbersLinesAndRangesFromItsStart) {
  const std::string text = "a\n// x\r\n// y\nb\n\n// z";
  const struct {
    std::size_t start, line, firstLine;  // where the walk starts: byte, line, and its number
    std::string expected;  // per run: first line, begin, end, first line end
  } cases[] = {
      {0, 0, 0, "1 2-13 CRLF|5 16-20 none|"},
      {2, 1, 7, "7 0-11 CRLF|11 14-18 none|"},
      {13, 3, 0, "2 3-7 none|"},
  };
  const CommentMap comments = lexComments(text, nullptr);
  for (const auto& c : cases) {
    std::string seen;
    CommentRunWalker walker(std::string_view(text).substr(c.start), std::span(comments).subspan(c.line),
                            c.firstLine);
    while (const CommentRun* run = walker.next()) {
      const std::string_view end = run->firstLineEnd;
      seen += std::to_string(run->firstLine) + " " + std::to_string(run->begin) + "-" +
              std::to_string(run->end) + (end == "\r\n" ? " CRLF|" : end == "\n" ? " LF|" : " none|");
    }
    EXPECT_EQ(seen, c.expected) << c.start;
  }
}

// --check of the marker commands relies on this: with nothing to mark, a
// comment-run transform changes a text only by evening out line ends.
TEST(CommentRunsKeepLineEnds, TellsWhetherAnUnchangedTransformKeepsTheText) {
  auto same = [](const std::vector<std::string_view>& lines) {
    return std::vector<std::string>(lines.begin(), lines.end());
  };
  for (const std::string text :
       {"", "// a\n// b\n", "// a\r\n// b\r\n", "// a\n// b\r\n", "// a\r\n// b\n", "// a\r\n// b",
        "// a\n// b\r", "x\r\n// a\n", "// a\n\r\n// b\r\n", "// a\r\nx\n// b\n", "}  // a\n// b\r\n"}) {
    EXPECT_EQ(commentRunsKeepLineEnds(text, lexComments(text, nullptr)), transformed(text, same) == text) << text;
  }
}

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
      pieces += transformed(std::string_view(c.text).substr(cuts[i], cuts[i + 1] - cuts[i]), countRun);
    }
    // Not EXPECT_EQ: its diff of two large texts would take all memory.
    EXPECT_TRUE(pieces == transformed(c.text, countRun)) << c.threads;
  }
}

}  // namespace
}  // namespace brindlewort
