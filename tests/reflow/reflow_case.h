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

// The text with its comment lines (by the line rule) re-flowed.
inline std::string reflow(std::string_view text, ReflowMode mode, std::size_t width,
                          const std::vector<std::string>& keep = {}) {
  SourceReflowOptions options;
  options.settings.mode = mode;
  options.settings.width = width;
  options.settings.keepPrefixes = keep;
  return reflowSource(text, lexComments(text, nullptr), options);
}

struct ReflowCase {
  const char* name;
  ReflowMode mode;
  std::size_t width;
  const char* input;
  const char* expected;  // null: unchanged
};

inline void PrintTo(const ReflowCase& c, std::ostream* out) { *out << c.name; }

inline void expectReflowCase(const ReflowCase& c) {
  const std::string expected = c.expected ? c.expected : c.input;
  const std::string once = reflow(c.input, c.mode, c.width);
  EXPECT_EQ(once, expected);
  EXPECT_EQ(reflow(once, c.mode, c.width), once) << "not idempotent";
}

}  // namespace brindlewort
