#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "reflow/comment_lines.h"
#include "reflow/source_language.h"

namespace brindlewort {
namespace {

// Whole lines of one language, and which of them are comment lines.
struct Piece {
  std::string text;
  std::string mask;
};

struct LanguagePieces {
  std::string file;
  std::vector<Piece> pieces;
};

const std::vector<Piece> blockComments{{"/* a\n// b\n*/", "..."}, {"/* a */ // b", "."}};

std::vector<LanguagePieces> allPieces() {
  return {
      {"x.cpp",
       {{"s = R\"d(\n// x\n)\"\n)d\";", "...."},
        {"c = '\"';", "."},
        {"s = \"a \\\n// b\";", ".."},
        {"n = 0xFF'FF;", "."},
        {"#define X \"//\"", "."}}},
      {"x.rs",
       {{"let s = \"\n// x\n\";", "..."},
        {"let s = r#\"\n// \"\n\"#;", "..."},
        {"fn f<'a>(x: &'a str) {}", "."},
        {"let c = '\"';", "."},
        {"/* a /* b */\n// c\n*/", "..."}}},
      {"x.go", {{"s := `\n// x\n`", "..."}, {"r := '`'", "."}}},
      {"x.ts",
       {{"s = `\n// x ${ `\n// y` }\n`;", "...."},
        {"re = /[`]/;", "."},
        {"s = '`';", "."},
        {"x = a / b;", "."}}},
      {"x.java", {{"String s = \"\"\"\n// x\n\"\"\";", "..."}, {"char c = '\"';", "."}}},
      {"x.kt",
       {{"val s = \"\"\"\n// x\n\"\"\"", "..."},
        {"val c = '\"'", "."},
        {"/* a /* b */\n// c\n*/", "..."}}},
      {"x.cs",
       {{"var s = @\"\n// \"\"x\"\"\n\";", "..."}, {"var s = \"\"\"\n// x\n\"\"\";", "..."}}},
      {"x.swift",
       {{"let s = \"\"\"\n// x\n\"\"\"", "..."},
        {"let s = #\"\"\"\n\"\"\"\n// x\n\"\"\"#", "...."}}},
      {"x.dart", {{"var s = '''\n// x\n''';", "..."}, {"var s = r'\\';", "."}}},
      {"x.scala", {{"val s = \"\"\"\n// x\n\"\"\"", "..."}, {"val s = 'sym", "."}}},
      {"x.zig", {{"const s =\n\\\\ // x\n;", "..."}, {"const c = '\"';", "."}}},
  };
}

// Programs glued from random pieces, every line indented at random: the
// scanner must mark exactly the pieces' comment lines, never a line inside a
// string or block comment.
TEST(CommentLinesProperty, MarksExactlyTheCommentLinesOfRandomPrograms) {
  std::mt19937 random(20240611);
  for (LanguagePieces language : allPieces()) {
    language.pieces.push_back({"// note", "#"});
    language.pieces.push_back({"x = f(y); // trailing", "."});
    language.pieces.push_back({"}", "."});
    if (language.file != "x.zig") {
      language.pieces.insert(language.pieces.end(), blockComments.begin(), blockComments.end());
    }
    const SourceLanguage* rules = languageForPath(language.file).language;
    ASSERT_NE(rules, nullptr) << language.file;
    std::uniform_int_distribution<std::size_t> pick(0, language.pieces.size() - 1);
    std::uniform_int_distribution<std::size_t> indent(0, 3);
    for (int run = 0; run < 300; ++run) {
      std::string text;
      std::string expected;
      const std::size_t count = 1 + pick(random) % 20;
      for (std::size_t i = 0; i < count; ++i) {
        const Piece& piece = language.pieces[pick(random)];
        if (i > 0) text += '\n';
        for (const char ch : piece.text) {
          if (text.empty() || text.back() == '\n') text.append(indent(random), ' ');
          text += ch;
        }
        expected += piece.mask;
      }
      std::string actual;
      for (const bool comment : commentLines(text, rules)) actual += comment ? '#' : '.';
      ASSERT_EQ(actual, expected) << language.file << " program:\n" << text;
    }
  }
}

// Whatever the bytes, the scanner only ever takes back marks of the line
// rule, and never reads past the text.
TEST(CommentLinesProperty, RandomBytesOnlyLoseMarksOfTheLineRule) {
  const std::string alphabet = "/*\"'`#\\\n\r${}()[]rbRu8@ \t=aZ0\xc3\xa9\xff";
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size());
  for (const char* file : {"x.c", "x.rs", "x.go", "x.js", "x.java", "x.kt", "x.cs", "x.swift",
                           "x.dart", "x.scala", "x.zig", "x.groovy", "x.proto"}) {
    const SourceLanguage* rules = languageForPath(file).language;
    for (int run = 0; run < 2000; ++run) {
      std::string text(pick(random) % 40, ' ');
      for (char& ch : text) {
        const std::size_t i = pick(random);
        ch = i == alphabet.size() ? '\0' : alphabet[i];
      }
      const auto lexed = commentMarkers(text, rules);
      const auto lineRule = commentMarkers(text, nullptr);
      ASSERT_EQ(lexed.size(), lineRule.size());
      for (std::size_t line = 0; line < lexed.size(); ++line) {
        if (lexed[line]) {
          ASSERT_EQ(lexed[line], lineRule[line]) << file << ": " << text;
        }
      }
    }
  }
}

}  // namespace
}  // namespace brindlewort
