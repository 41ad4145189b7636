#include "reflow/comment_line_corrections.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "reflow/source_language.h"

namespace brindlewort {
namespace {

// Each case: the file (its extension picks the language), the text, what a
// plain-text corrector gave for it, and what is kept of that.
TEST(CommentLineCorrections, TakesCorrectionsOnCommentLinesOnly) {
  struct Case {
    const char* file;
    std::string text, corrected;
    std::optional<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"a.cpp", "//teh\nint x;  \n", "// the\nint y;\n", "// the\nint x;  \n"},
      {"a.cpp", "auto s = R\"(\n//teh  \n)\";\n//teh\n", "auto s = R\"(\n// the\n)\";\n// the\n",
       "auto s = R\"(\n//teh  \n)\";\n// the\n"},
      {"a.js", "const s = `\n//teh\n`;\n  //teh\n", "const s = `\n// the\n`;\n  // the\n",
       "const s = `\n//teh\n`;\n  // the\n"},
      {"a.go", "s := `\n//teh\n`\n//teh", "s := `\n// the\n`\n// the", "s := `\n//teh\n`\n// the"},
      // A block comment's text is comment text too.
      {"a.c", "/* a\n//teh\n*/\n", "/* a\n// the\n*/\n", "/* a\n// the\n*/\n"},
      {"a.c", "x(); /* a\n//teh\n*/\n", "x(); /* a\n// the\n*/\n", "x(); /* a\n//teh\n*/\n"},
      // CR-LF lines keep their ends from the side they are taken from.
      {"a.cpp", "//teh \r\nx; \r\n", "// the\r\nx;\r\n", "// the\r\nx; \r\n"},
      // Without a language the line rule decides.
      {"", "//teh\nx\n", "// the\ny\n", "// the\nx\n"},
      {"a.cpp", "", "", ""},
      {"a.cpp", "//teh", "// the", "// the"},
      // A line more or less: no line can be matched.
      {"a.cpp", "//teh\nx;\n", "// the\n\nx;\n", std::nullopt},
      {"a.cpp", "//teh\nx;\n", "// the x;\n", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(correctionsOnCommentLines(c.text, c.corrected, languageForPath(c.file).language), c.expected)
        << c.file << ": " << c.text;
  }
}

}  // namespace
}  // namespace brindlewort
