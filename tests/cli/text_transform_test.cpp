#include "cli/text_transform.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/comment_length.h"
#include "engine/rewrap.h"

namespace brindlewort::cli {
namespace {

// Shows how lines were grouped into runs: one line holding the run's lines
// between < and >, then a second line with their count, so that every run
// also gains a line (which must get the run's line end).
std::vector<std::string> markRun(const std::vector<std::string_view>& lines) {
  std::string joined = "<";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    joined += i ? "|" : "";
    joined += lines[i];
  }
  return {joined + ">", "#" + std::to_string(lines.size())};
}

struct RunCase {
  const char* name;
  std::string text;
  std::string expected;
};

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
        RunCase{"blankLineSplitsRuns", "// x\n\n// y\n", "<// x>\n#1\n\n<// y>\n#1\n"},
        RunCase{"spacesLineSplitsRuns", "// x\n   \n// y\n", "<// x>\n#1\n   \n<// y>\n#1\n"},
        RunCase{"bareMarkerBelongsToRun", "// x\n//\n// y\n", "<// x|//|// y>\n#3\n"},
        RunCase{"indentedAndTabbed", "    /// doc\n\t// tab\n", "<    /// doc|\t// tab>\n#2\n"},
        RunCase{"crlfKept", "a\r\n// x\r\n// y\r\nb\r\n", "a\r\n<// x|// y>\r\n#2\r\nb\r\n"},
        RunCase{"runEndsLikeItsFirstLine", "// x\r\n// y\n", "<// x|// y>\r\n#2\r\n"},
        RunCase{"noFinalLineEnd", "a\n// x\n// y", "a\n<// x|// y>\n#2"},
        RunCase{"lastLineAloneWithoutEnd", "a\r\n// x", "a\r\n<// x>\r\n#1"},
        RunCase{"wholeTextOneLine", "// x", "<// x>\n#1"},
        RunCase{"lineFeedsOnlyAround", "\n// x\n\n", "\n<// x>\n#1\n\n"},
        RunCase{"trailingCommentOnCode", "x = 1; // note\n", "x = 1; // note\n"},
        // The marker is in the comment prefix, but the code before it must
        // never be copied onto new lines or joined with the next line.
        RunCase{"codeBeforeMarker", "}  // end if\n}  // end for\n", "}  // end if\n}  // end for\n"},
        RunCase{"valueBeforeMarker", "  0, // zero\n", "  0, // zero\n"},
        RunCase{"blockComment", "/* block\n * star\n */\n", "/* block\n * star\n */\n"},
        RunCase{"singleSlash", "/ x\n", "/ x\n"},
        RunCase{"loneCarriageReturnStaysInLine", "// a\rb\n", "<// a\rb>\n#1\n"}),
    [](const testing::TestParamInfo<RunCase>& param) { return std::string(param.param.name); });

// --check of the marker commands relies on this: with nothing to mark, a
// comment-run transform changes a text only by evening out line ends.
TEST(CommentRunsKeepLineEnds, TellsWhetherAnUnchangedTransformKeepsTheText) {
  auto same = [](const std::vector<std::string_view>& lines) {
    return std::vector<std::string>(lines.begin(), lines.end());
  };
  const std::string texts[] = {
      "", "// a\n// b\n", "// a\r\n// b\r\n", "// a\n// b\r\n", "// a\r\n// b\n",
      "// a\r\n// b", "// a\n// b\r", "x\r\n// a\n", "// a\n\r\n// b\r\n",
      "// a\n// b\n// c\r\nx\n", "// a\r\nx\n// b\n", "}  // a\n// b\r\n"};
  for (const std::string& text : texts) {
    EXPECT_EQ(commentRunsKeepLineEnds(text), transformCommentRuns(text, same) == text) << text;
  }
}

struct ScopeCase {
  const char* name;
  TextScope scope;
  std::int64_t width;
  std::string text;
  std::string expected;
};

class ScopedRewrapTest : public testing::TestWithParam<ScopeCase> {};

TEST_P(ScopedRewrapTest, RewrapsInScope) {
  const ScopeCase& c = GetParam();
  TextTransform transform = inScope(
      c.scope, [&](const std::vector<std::string_view>& lines) { return rewrapLines(lines, c.width); }, 1);
  EXPECT_EQ(transform(c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scoping, ScopedRewrapTest,
    testing::Values(
        ScopeCase{"codeLinesUntouched", TextScope::commentRuns, 10,
                  "foo()\nbar()\n// one two three\n", "foo()\nbar()\n// one two\n// three\n"},
        ScopeCase{"wholeTextJoinsCode", TextScope::wholeText, 10,
                  "foo()\nbar()\n// one two three\n", "foo() bar()\n// one two\n// three\n"},
        ScopeCase{"crlfWrap", TextScope::commentRuns, 10, "x\r\n// one two three\r\n",
                  "x\r\n// one two\r\n// three\r\n"},
        ScopeCase{"crlfUnwrap", TextScope::commentRuns, noCommentLengthLimit,
                  "// one two\r\n// three\r\n", "// one two three\r\n"},
        ScopeCase{"wholeTextDropsCarriageReturns", TextScope::wholeText, noCommentLengthLimit,
                  "// one two\r\n// three\r\n", "// one two three\n"},
        ScopeCase{"wholeTextDropsLeadingEmptyLines", TextScope::wholeText, 80, "\n\n// a\n",
                  "// a\n"},
        ScopeCase{"runsKeepLeadingEmptyLines", TextScope::commentRuns, 80, "\n\n// a\n",
                  "\n\n// a\n"},
        ScopeCase{"indentedCodeNotReflowed", TextScope::commentRuns, 10,
                  "    let first = one + two\n    let second = three\n",
                  "    let first = one + two\n    let second = three\n"},
        ScopeCase{"trailingSpacesTrimmedInRuns", TextScope::commentRuns, 80, "x   \n// hi   \n",
                  "x   \n// hi\n"}),
    [](const testing::TestParamInfo<ScopeCase>& param) { return std::string(param.param.name); });

// Cutting a text between runs must not change the result, whatever the mix
// of runs, code, blank lines and line ends.
TEST(CommentRunsInParallel, MatchesSequentialResult) {
  std::mt19937 random(7);
  const char* pieces[] = {"// a comment line\n", "// another one\r\n", "int code = 1;\n",
                          "\n",                  "    // indented\n",   "}  // end\n"};
  std::string text;
  while (text.size() < (6u << 20)) {
    std::size_t piece = random() % 6;
    // Long runs as well as short ones, so that some cuts have to move.
    std::size_t repeat = random() % 50 == 0 ? 40000 : 1 + random() % 5;
    for (std::size_t i = 0; i < repeat; ++i) text += pieces[piece];
  }
  text += "// last without end";
  const std::string expected = transformCommentRuns(text, markRun);
  for (unsigned threads : {1u, 2u, 3u, 8u}) {
    EXPECT_EQ(transformCommentRunsInParallel(text, markRun, threads), expected) << threads;
  }
}

TEST(CommentRunsInParallel, OneHugeRunStaysWhole) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "// word word word\n";
  std::string result = transformCommentRunsInParallel(text, markRun, 4);
  EXPECT_TRUE(result.ends_with(">\n#200000\n"));
}

}  // namespace
}  // namespace brindlewort::cli
