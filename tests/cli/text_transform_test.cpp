#include "cli/core/text_transform.h"

#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "engine/comment_length.h"
#include "engine/rewrap.h"

namespace brindlewort::cli {
namespace {

using cli_test::mixedSource;

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

// Line ends and leading empty lines: kept by the comment-run scope, not by
// the whole-text one.
TEST(ScopedRewrap, CommentRunsKeepWhatWholeTextDrops) {
  auto unwrap = [](TextScope scope, const std::string& text) {
    return inScope(scope, [](const auto& lines) { return rewrapLines(lines, noCommentLengthLimit); }, 1)(text);
  };
  EXPECT_EQ(unwrap(TextScope::commentRuns, "\n// one two\r\n// three\r\n"), "\n// one two three\r\n");
  EXPECT_EQ(unwrap(TextScope::wholeText, "\n// one two\r\n// three\r\n"), "// one two three\n");
}

// Cutting a text between runs must not change the result; one huge run
// stays whole.
TEST(CommentRunsInParallel, MatchesSequentialResult) {
  const std::string text = mixedSource(7, 6u << 20, false) + "// last without end";
  const std::string expected = transformCommentRuns(text, markRun);
  for (unsigned threads : {2u, 3u, 8u}) {
    EXPECT_EQ(transformCommentRunsInParallel(text, markRun, threads), expected) << threads;
  }
  std::string run;
  for (int i = 0; i < 200000; ++i) run += "// word word word\n";
  EXPECT_TRUE(transformCommentRunsInParallel(run, markRun, 4).ends_with(">\n#200000\n"));
}

}  // namespace
}  // namespace brindlewort::cli
