// A large file is lexed and re-flowed in pieces on several threads; the
// result must be what re-flowing it whole gives, in every language, and the
// pieces must really be several where block comments or '#' lines fill most
// of the file.

#include <gtest/gtest.h>

#include <string>

#include "reflow/comment_lexer.h"
#include "reflow/source_file_reflow.h"

namespace brindlewort {
namespace {

// Tasks run one after another, but the text is cut as for two threads.
const Parallelism twoThreads{2, [](std::size_t count, const std::function<void(std::size_t)>& task) {
                               for (std::size_t i = 0; i < count; ++i) task(i);
                             }};

// A file of `blocks` comment blocks between code. The first tenth sets two
// blanks between sentences inside lines; the rest shows no gap inside a
// line, so its paragraphs take the file's convention.
std::string generated(const std::string& opener, const std::string& decoration, const std::string& closer,
                      const std::string& code, std::size_t blocks) {
  std::string text;
  for (std::size_t i = 0; i < blocks; ++i) {
    const bool evidence = i < blocks / 10;
    text += opener;
    text += decoration + "The parser returns a list of tokens when the input is valid." +
            (evidence ? "  It throws" : " and throws") + " an error\n";
    text += decoration + "otherwise.\n";
    text += decoration + "Callers should never rely on the ordering of the buffer because it may change\n";
    text += decoration + "between calls.\n";
    if (!closer.empty()) text += closer;
    text += code + std::to_string(i) + "\n";
  }
  return text;
}

TEST(FilePieces, ReflowedInPiecesAsWhole) {
  struct Case {
    const char* file;
    std::string text;
  };
  const Case cases[] = {
      {"a.c", generated("/**\n", " * ", " */\n", "int f", 12000)},
      {"a.c", generated("/*\n", "   ", "   end */\n", "int g", 12000)},
      {"a.py", generated("", "# ", "", "x = ", 14000)},
      {"a.py", generated("def f():\n    \"\"\"Summary.\n\n", "    ", "    \"\"\"\n", "x = ", 12000)},
      {"a.rs", generated("", "// ", "", "let x = ", 14000)},
  };
  for (const Case& c : cases) {
    const SourceLanguage* language = languageForPath(c.file).language;
    const CommentMap comments = lexComments(c.text, language);
    EXPECT_GT(piecesBetweenRuns(c.text, comments, 2).size(), 2u) << c.file;
    for (const ReflowMode mode : {ReflowMode::wrap, ReflowMode::fill, ReflowMode::unwrap}) {
      SourceReflowOptions options;
      options.settings.mode = mode;
      options.settings.width = 60;
      const std::string whole = reflowSource(c.text, comments, options);
      EXPECT_TRUE(whole != c.text) << c.file << " mode " << static_cast<int>(mode);
      // Not EXPECT_EQ: a mismatch would print megabytes.
      EXPECT_TRUE(reflowSourceFile(c.text, language, options, twoThreads) == whole)
          << c.file << " mode " << static_cast<int>(mode);
    }
  }
}

}  // namespace
}  // namespace brindlewort
