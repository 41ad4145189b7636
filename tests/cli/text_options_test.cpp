#include "cli/text_options.h"

#include <gtest/gtest.h>

#include "engine/comment_length.h"

namespace brindlewort::cli {
namespace {

struct WidthCase {
  const char* value;
  std::optional<std::int64_t> expected;
};

TEST(ParseWidth, AcceptsWholeNumbersWithZeroAsNoLimit) {
  const WidthCase cases[] = {
      {"80", 80},
      {"1", 1},
      {"0", noCommentLengthLimit},
      {"9223372036854775807", noCommentLengthLimit},
      {"9223372036854775808", std::nullopt},
      {"-1", std::nullopt},
      {"+5", std::nullopt},
      {"", std::nullopt},
      {"8O", std::nullopt},
      {" 8", std::nullopt},
      {"abc", std::nullopt},
  };
  for (const WidthCase& c : cases) EXPECT_EQ(parseWidth(c.value), c.expected) << c.value;
}

struct OptionsCase {
  std::vector<std::string> args;
  std::string error;  // a part of the expected message; empty when valid
  OutputMode mode = OutputMode::print;
  TextScope scope = TextScope::commentRuns;
  std::int64_t width = 80;
  std::vector<std::string> files = {};
};

TEST(ParseTextOptions, ParsesOrRejects) {
  const OptionsCase cases[] = {
      {{}, ""},
      {{"a", "b"}, "", OutputMode::print, TextScope::commentRuns, 80, {"a", "b"}},
      {{"a", "--width", "60", "b"}, "", OutputMode::print, TextScope::commentRuns, 60, {"a", "b"}},
      {{"--width=0"}, "", OutputMode::print, TextScope::commentRuns, noCommentLengthLimit},
      {{"-w", "33", "-i", "f"}, "", OutputMode::inPlace, TextScope::commentRuns, 33, {"f"}},
      {{"--check", "--whole-text", "-"}, "", OutputMode::check, TextScope::wholeText, 80, {"-"}},
      {{"--", "-i", "--check"}, "", OutputMode::print, TextScope::commentRuns, 80, {"-i", "--check"}},
      {{"--width"}, "needs a number"},
      {{"--width", "-3"}, "invalid width '-3'"},
      {{"--width=x"}, "invalid width 'x'"},
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"-i"}, "needs at least one FILE"},
      {{"-i", "-"}, "cannot rewrite standard input"},
      {{"-i", "--check", "f"}, "cannot be combined"},
  };
  for (const OptionsCase& c : cases) {
    std::string joined;
    for (const std::string& arg : c.args) joined += arg + " ";
    ParsedTextOptions parsed = parseTextOptions(c.args, {.width = true}, 80);
    if (!c.error.empty()) {
      EXPECT_NE(parsed.error.find(c.error), std::string::npos) << joined << "-> " << parsed.error;
      continue;
    }
    EXPECT_EQ(parsed.error, "") << joined;
    EXPECT_EQ(parsed.options.mode, c.mode) << joined;
    EXPECT_EQ(parsed.options.scope, c.scope) << joined;
    EXPECT_EQ(parsed.options.width, c.width) << joined;
    EXPECT_EQ(parsed.options.files, c.files) << joined;
  }
}

TEST(ParseTextOptions, WidthOnlyForCommandsThatTakeIt) {
  const std::vector<std::string> args{"--width", "40"};
  EXPECT_NE(parseTextOptions(args, {.width = false}, 0).error.find("unknown option '--width'"),
            std::string::npos);
}

TEST(ParseTextOptions, HelpWinsOverOtherProblems) {
  const std::vector<std::string> args{"-i", "--help"};
  ParsedTextOptions parsed = parseTextOptions(args, {}, 80);
  EXPECT_TRUE(parsed.options.help);
  EXPECT_EQ(parsed.error, "");
}

}  // namespace
}  // namespace brindlewort::cli
