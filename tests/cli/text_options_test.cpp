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
  const char* command;
  std::vector<std::string> args;
  std::string error;  // the expected message; empty when valid
  OutputMode mode = OutputMode::print;
  TextScope scope = TextScope::commentRuns;
  std::int64_t width = 80;
  std::vector<std::string> files = {};
  std::string language = "";
  bool verbose = false;
};

// Usage errors that reach users are checked end to end; these are the rest.
TEST(ParseTextOptions, ParsesOrRejects) {
  const OptionsCase cases[] = {
      {"wrap", {}, ""},
      {"wrap", {"a", "--width", "60", "b"}, "", OutputMode::print, TextScope::commentRuns, 60, {"a", "b"}},
      {"wrap", {"-w", "7", "--width=0"}, "", OutputMode::print, TextScope::commentRuns, noCommentLengthLimit},
      {"wrap", {"-i", "--whole-text", "f"}, "", OutputMode::inPlace, TextScope::wholeText, 80, {"f"}},
      {"wrap", {"--", "-i", "--check"}, "", OutputMode::print, TextScope::commentRuns, 80, {"-i", "--check"}},
      {"wrap", {"-i", "--help"}, ""},  // help wins over the missing FILE
      {"wrap", {"--width="}, "invalid width '': expected a whole number, 0 for no limit"},
      {"wrap", {"f", "-w"}, "option '-w' needs a number"},
      {"wrap", {"-w5"}, "unknown option '-w5'"},  // no value glued to a short option
      {"unwrap", {"--width=9"}, "unknown option '--width=9'"},
      {"wrap", {"-i", "-"}, "--in-place cannot rewrite standard input"},
      {"wrap", {"-i", "--check", "f"}, "--in-place and --check cannot be combined"},
      {"spell", {"--verbose", "--lang", "-", "x"}, "", OutputMode::print, TextScope::commentRuns, 80,
       {"x"}, "-", true},
      {"spell", {"--check", "--lang=en_GB", "--", "--lang"}, "", OutputMode::check,
       TextScope::commentRuns, 80, {"--lang"}, "en_GB"},
      {"spell", {"--lang="}, "option '--lang' needs a language such as en_US"},
      // A command's own options are taken out first: their faults win.
      {"spell", {"--bogus", "--lang"}, "option '--lang' needs a language such as en_US"},
      {"explain", {"--verbose"}, "unknown option '--verbose'"},
      {"wrap", {"--diff", "f"}, "", OutputMode::diff, TextScope::commentRuns, 80, {"f"}},
      {"wrap", {"--check", "--diff", "f"}, "--check and --diff cannot be combined"},
      {"unwrap", {"-i", "--diff", "f"}, "--in-place and --diff cannot be combined"},
      {"grammar", {"--verbose"}, "", OutputMode::print, TextScope::commentRuns, 80, {}, "", true},
      {"lint", {"--timeout", "0"}, "invalid time-out '0': expected seconds above 0 and below 86400"},
      {"lint", {"--timeout=-1"}, "invalid time-out '-1': expected seconds above 0 and below 86400"},
      {"lint", {"--timeout", "inf"}, "invalid time-out 'inf': expected seconds above 0 and below 86400"},
      {"wrap", {"--timeout", "5"}, "unknown option '--timeout'"},
  };
  for (const OptionsCase& c : cases) {
    SCOPED_TRACE(c.command + testing::PrintToString(c.args));
    const Result<TextOptions> parsed = parseTextOptions(c.args, c.command, 80);
    if (!c.error.empty()) {
      ASSERT_FALSE(parsed.ok());
      EXPECT_EQ(parsed.error(), c.error);
      continue;
    }
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    if (parsed->help) continue;
    EXPECT_EQ(parsed->mode, c.mode);
    EXPECT_EQ(parsed->scope, c.scope);
    EXPECT_EQ(parsed->width, c.width);
    EXPECT_EQ(parsed->files, c.files);
    EXPECT_EQ(parsed->language, c.language);
    EXPECT_EQ(parsed->verbose, c.verbose);
  }
}

TEST(ParseTimeout, AcceptsSecondsAboveZeroAndBelowADay) {
  using std::chrono::milliseconds;
  const std::pair<const char*, std::optional<milliseconds>> cases[] = {
      {"30", milliseconds(30000)}, {"0.25", milliseconds(250)}, {"0.0001", milliseconds(1)},
      {"86399", milliseconds(86399000)}, {"86400", std::nullopt}, {"0", std::nullopt},
      {"", std::nullopt}, {" 5", std::nullopt}, {"1e3", std::nullopt}, {"nan", std::nullopt},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(parseTimeout(value), expected) << value;
}

}  // namespace
}  // namespace brindlewort::cli
