#include "cli/core/text_options.h"

#include <gtest/gtest.h>

#include "engine/comment_length.h"

namespace brindlewort::cli {
namespace {

TEST(ParseWidth, AcceptsWholeNumbersWithZeroAsNoLimit) {
  const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
      {"80", 80},          {"0", noCommentLengthLimit}, {"9223372036854775807", noCommentLengthLimit},
      {"9223372036854775808", std::nullopt}, {"-1", std::nullopt}, {"+5", std::nullopt},
      {"", std::nullopt},  {"8O", std::nullopt},        {" 8", std::nullopt},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(parseWidth(value), expected) << value;
}

struct OptionsCase {
  std::vector<std::string> args;
  std::string error;  // a part of the expected message; empty when valid
  OutputMode mode = OutputMode::print;
  TextScope scope = TextScope::commentRuns;
  std::int64_t width = 80;
  std::vector<std::string> files = {};
};

// Usage errors that reach users are checked end to end; these are the rest.
TEST(ParseTextOptions, ParsesOrRejects) {
  const OptionsCase cases[] = {
      {{}, ""},
      {{"a", "--width", "60", "b"}, "", OutputMode::print, TextScope::commentRuns, 60, {"a", "b"}},
      {{"-i", "--whole-text", "f"}, "", OutputMode::inPlace, TextScope::wholeText, 80, {"f"}},
      {{"--", "-i", "--check"}, "", OutputMode::print, TextScope::commentRuns, 80, {"-i", "--check"}},
      {{"-i", "--help"}, ""},  // help wins over the missing FILE
      {{"--width", "-3"}, "invalid width '-3'"},
      {{"-i", "-"}, "cannot rewrite standard input"},
      {{"-i", "--check", "f"}, "cannot be combined"},
  };
  for (const OptionsCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const ParsedTextOptions parsed = parseTextOptions(c.args, {.width = true}, 80);
    if (!c.error.empty()) {
      EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
      continue;
    }
    EXPECT_EQ(parsed.error, "");
    if (parsed.options.help) continue;
    EXPECT_EQ(parsed.options.mode, c.mode);
    EXPECT_EQ(parsed.options.scope, c.scope);
    EXPECT_EQ(parsed.options.width, c.width);
    EXPECT_EQ(parsed.options.files, c.files);
  }
}

}  // namespace
}  // namespace brindlewort::cli
