#pragma once

// One row of a table of re-flow cases, and the check every row gets: the
// expected text, and the same text again when re-flowed a second time.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "reflow/comment_lexer.h"
#include "reflow/source_reflow.h"

namespace brindlewort {

// The text with its comment lines re-flowed, by the rules of the language
// the file name asks for (none: the line rule).
inline std::string reflow(std::string_view text, ReflowMode mode, std::size_t width,
                          const std::vector<std::string>& keep = {}, const char* file = nullptr) {
  SourceReflowOptions options;
  options.settings.mode = mode;
  options.settings.width = width;
  options.settings.keepPrefixes = keep;
  const SourceLanguage* language = file != nullptr ? languageForPath(file).language : nullptr;
  return reflowSource(text, lexComments(text, language), options);
}

struct ReflowCase {
  const char* name;
  ReflowMode mode;
  std::size_t width;
  const char* input;
  const char* expected;  // null: unchanged
  const char* file = nullptr;  // picks the language; null: the line rule
};

inline void PrintTo(const ReflowCase& c, std::ostream* out) { *out << c.name; }

inline void expectReflowCase(const ReflowCase& c) {
  const std::string expected = c.expected ? c.expected : c.input;
  const std::string once = reflow(c.input, c.mode, c.width, {}, c.file);
  EXPECT_EQ(once, expected);
  EXPECT_EQ(reflow(once, c.mode, c.width, {}, c.file), once) << "not idempotent";
  if (c.mode == ReflowMode::fill) {
    const std::string joined = reflow(once, ReflowMode::unwrap, c.width, {}, c.file);
    EXPECT_EQ(reflow(joined, ReflowMode::fill, c.width, {}, c.file), once) << "unwrapped, fills back otherwise";
  }
}

}  // namespace brindlewort
