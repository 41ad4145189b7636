#include "reflow/comment_runs.h"

#include <gtest/gtest.h>

#include "reflow/comment_run_transform.h"

namespace brindlewort {
namespace {

// Shows how lines were grouped: the run's lines between < and >, then an
// added line with their count, which must get the run's line end.
std::vector<std::string> markRun(const std::vector<std::string_view>& lines) {
  std::string joined = "<";
  for (std::size_t i = 0; i < lines.size(); ++i) (joined += i ? "|" : "") += lines[i];
  return {joined + ">", "#" + std::to_string(lines.size())};
}

struct RunCase {
  const char* name;
  std::string text;
  std::string expected;
};
void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class CommentRunsTest : public testing::TestWithParam<RunCase> {};

TEST_P(CommentRunsTest, GroupsRunsAndCopiesOtherLines) {
  EXPECT_EQ(transformCommentRuns(GetParam().text, markRun), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scoping, CommentRunsTest,
    testing::Values(
        RunCase{"empty", "", ""},
        RunCase{"codeOnly", "int a;\n  b();\n\n", "int a;\n  b();\n\n"},
        RunCase{"oneRun", "a\n// x\n// y\nb\n", "a\n<// x|// y>\n#2\nb\n"},
        RunCase{"blankLineSplitsRuns", "// x\n   \n// y\n", "<// x>\n#1\n   \n<// y>\n#1\n"},
        RunCase{"bareMarkerBelongsToRun", "// x\n//\n// y\n", "<// x|//|// y>\n#3\n"},
        RunCase{"indentedAndTabbed", "    /// doc\n\t// tab\n", "<    /// doc|\t// tab>\n#2\n"},
        RunCase{"crlfKept", "a\r\n// x\r\n// y\r\nb\r\n", "a\r\n<// x|// y>\r\n#2\r\nb\r\n"},
        RunCase{"runEndsLikeItsFirstLine", "// x\r\n// y\n", "<// x|// y>\r\n#2\r\n"},
        RunCase{"noFinalLineEnd", "a\n// x\n// y", "a\n<// x|// y>\n#2"},
        RunCase{"lastLineAloneWithoutEnd", "a\r\n// x", "a\r\n<// x>\r\n#1"},
        // Code before the marker must never be copied onto new lines.
        RunCase{"codeBeforeMarker", "}  // end if\n}  // end for\n", "}  // end if\n}  // end for\n"},
        RunCase{"blockComment", "/* block\n * star\n */\n", "/* block\n * star\n */\n"},
        RunCase{"loneCarriageReturnStaysInLine", "// a\rb\n", "<// a\rb>\n#1\n"}),
    [](const auto& param) { return std::string(param.param.name); });

// Line numbers and byte ranges are what --check reports and what the cuts
// between pieces rely on; a walk may start in the middle of a text.
TEST(CommentRunWalker, NumbersLinesAndRangesFromItsStart) {
  const std::string text = "a\n// x\r\n// y\nb\n\n// z";
  const struct {
    std::size_t start, firstLine;
    std::string expected;  // per run: first line, begin, end, first line end
  } cases[] = {
      {0, 0, "1 2-13 CRLF|5 16-20 none|"},
      {2, 7, "7 2-13 CRLF|11 16-20 none|"},
      {13, 0, "2 16-20 none|"},
  };
  for (const auto& c : cases) {
    std::string seen;
    CommentRunWalker walker(text, c.start, c.firstLine);
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
    EXPECT_EQ(commentRunsKeepLineEnds(text), transformCommentRuns(text, same) == text) << text;
  }
}

}  // namespace
}  // namespace brindlewort
