#include "cli/core/findings_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli_test_support.h"
#include "engine/rewrap.h"
#include "reflow/comment_lexer.h"

namespace brindlewort::cli {
namespace {

// Reports each group as «FILE:LINE:1: group: "FIRST LINE (COUNT)"».
void reportGroup(std::string_view name, const std::vector<std::string_view>& lines,
                 std::span<const CommentFacts>, std::size_t first, std::string& report) {
  report += findingLine(name, first, 0, "group",
                        std::string(lines.front()) + " (" + std::to_string(lines.size()) + ")");
}

// The groups of a text whose comments the line rule finds.
std::string groups(std::string_view text, TextScope scope, unsigned threads) {
  return findingsReport("f", text, lexComments(text, nullptr), scope, threads, reportGroup);
}

// Cutting the text for several threads must not change the report, and each
// group's number must be the number of its first line in the whole text.
TEST(FindingsReport, GroupsAndLineNumbersDoNotDependOnThreads) {
  const std::string text = cli_test::mixedSource(11, 5u << 20, true);
  const std::string expected = groups(text, TextScope::commentRuns, 1);
  for (unsigned threads : {2u, 3u, 8u}) {
    EXPECT_EQ(groups(text, TextScope::commentRuns, threads), expected)
        << threads;
  }
  const std::vector<std::string> lines = splitLines(text);
  std::istringstream report(expected);
  std::size_t checked = 0;
  for (std::string finding; std::getline(report, finding); ++checked) {
    const std::size_t number = std::stoul(finding.substr(2, finding.find(':', 2) - 2)) - 1;
    ASSERT_LT(number, lines.size());
    std::string line = lines[number];
    if (line.ends_with('\r')) line.pop_back();
    EXPECT_NE(finding.find("\"" + line + " ("), std::string::npos) << finding;
  }
  EXPECT_GT(checked, 100u);
}

TEST(FindingsReport, WholeTextIsOneGroupOfAllLines) {
  EXPECT_EQ(groups("x\n// y\n", TextScope::wholeText, 4),
            "f:1:1: group: \"x (3)\"\n");
  EXPECT_EQ(groups("x\n// y\r\n// z", TextScope::commentRuns, 4),
            "f:2:1: group: \"// y (2)\"\n");
}

TEST(FindingLine, EscapesQuotesAndBackslashes) {
  EXPECT_EQ(findingLine("a.c", 0, 4, "spelling", "say \"hi\\\""),
            "a.c:1:5: spelling: \"say \\\"hi\\\\\\\"\"\n");
}

}  // namespace
}  // namespace brindlewort::cli
