#include "reflow/comment_lexer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include <cstddef>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "reflow/source_language.h"
#include "lexing_checks.h"

namespace brindlewort {
namespace {

using namespace std::string_literals;

// For each line, where its marker starts, or nothing for a line of code.
std::vector<std::optional<std::size_t>> commentMarkers(std::string_view text, const SourceLanguage* language) {
  std::vector<std::optional<std::size_t>> markers;
  for (const CommentFacts& facts : lexComments(text, language)) {
    markers.push_back(facts.isWholeLine() ? std::optional<std::size_t>(facts.markerAt) : std::nullopt);
  }
  return markers;
}

TEST(CommentLines, MarksExactlyTheCommentLines) {
  const struct {
    const char* file;  // its extension picks the language; "" for none
    std::string text;
    const char* expected;
  } cases[] = {
      // Without a language only the line rule applies; block comments.
      {"", "// a\n  // b\n\t//c\nx // d\n", "###.."}, {"", "/* a\n// b\n*/", ".#."},
      {"x.cc", "// a\r\nx();\r\n  // b\r\n", "#.#."}, {"x.cc", "/ / a\n/* */ // b\n/// doc\n//", "..##"},
      {"x.c", "int x; /* a\n// b\n*/ int y;\n// c", "...#"}, {"x.c", "/* a\n*/ // b\n// c", "..#"},
      {"x.c", "/*/ a\n// b\n*/", "##."}, {"x.c", "/* never closed\n// a\n// b", "..."},
      {"x.zig", "const a = 1; /* no block\n// c", ".#"},
      // Strings, character literals and labels.
      {"x.c", "s = \"/*\";\n// c", ".#"}, {"x.c", "s = \"\\\"/*\";\n// c", ".#"},
      {"x.c", "s = \"unterminated\n// c", ".#"}, {"x.c", "s = \"a \\\r\n// b\";\r\n// c", "..#"},
      {"x.m", "NSString *s = @\"/*\";\n// c", ".#"}, {"x.go", "s := \"a\n// c", ".#"},
      {"x.js", "s = '/*';\n// c", ".#"}, {"x.c", "c = '\\''; /* x\n// in\n*/", "..."},
      {"x.cc", "c = u8'\"'; /* x\n// in\n*/", "..."}, {"x.rs", "let v = ['\\'','\"'];\n// c", ".#"},
      {"x.rs", "let v = ['\\u{1F600}','\"'];\n// c", ".#"}, {"x.rs", "let b = b'\"';\n// c", ".#"},
      {"x.rs", "let v = ('é','\"');\n// c", ".#"}, {"x.rs", "'outer: loop {\n// c\nbreak 'outer;\n}", ".#.."},
      // C#'s verbatim strings: "" for a quote, no escapes, any number of lines.
      {"x.cs", "var s = @\"\\\"; /* x\n// in\n*/", "..."},
      {"x.cs", "var s = $@\"{a}\n// x\n\";\n// c", "...#"},
      {"x.cs", "var s = @$\"{a}\n// x\n\";\n// c", "...#"}, {"x.cs", "var s = $\"{a} /*\";\n// c", ".#"},
      // Backquotes quote identifiers, which may hold an apostrophe.
      {"x.kt", "fun `doesn't crash`() { /* x\n// in\n*/", "..."},
      // Raw and multi-line strings.
      {"x.cpp", "auto s = u8R\"(\n// x\n)\";", "..."}, {"x.h", "auto s = LR\"(\n// x\n)\";", "..."},
      {"x.cpp", "auto s = FOOR\"(\n// c", ".#"}, {"x.rs", "let s = r##\"\n\"#\n// x\n\"##;\n// c", "....#"},
      {"x.rs", "let s = br\"\\\";\n// c", ".#"}, {"x.rs", "let r#type = 1;\n// c", ".#"},
      {"x.go", "s := `\\`\n// c", ".#"}, {"x.swift", "let s = #\"a\"b\"#; /* x\n// in\n*/", "..."},
      {"x.swift", "let s = #\"\\\"#; /* x\n// in\n*/", "..."}, {"x.swift", "#if DEBUG\n// c\n#endif", ".#."},
      {"x.java", "String s = \"\"\"\n  \\\"\"\"\n  // x\n  \"\"\";\n// c", "....#"},
      {"x.kt", "val s = \"\"\"\\\"\"\"\n// c", ".#"}, {"x.kt", "val s = \"\"\"\"a\"\"\"\"\n// c", ".#"},
      {"x.scala", "val s = s\"\"\"\n// x\n\"\"\"\n// c", "...#"},
      {"x.cs", "var s = \"\"\"\"\n\"\"\"\n// x\n\"\"\"\";\n// c", "....#"},
      {"x.cs", "var s = \"\";\n// c", ".#"}, {"x.dart", "var s = r\"\"\"\\\"\"\";\n// c", ".#"},
      {"x.groovy", "def s = '''\n// x\n'''\n// c", "...#"},
      {"x.zig", "const s =\n    \\\\ // not a comment\n    \\\\ \"\n;\n// c", "....#"},
      // Template literals and regular expressions.
      {"x.js", "const s = `\n// x\n${a}\n// y\n`;\n// c", ".....#"},
      {"x.js", "const s = `${ f('`}') }\n// x\n`;\n// c", "...#"},
      {"x.ts", "const s = `${ {a: 1}.a }\n// x\n`;\n// c", "...#"},
      {"x.ts", "const s = `${\n// real comment\nx}`;\n// c", ".#.#"},
      {"x.js", "const re = /[/*]/;\n// c", ".#"}, {"x.js", "const re = /\\/*/;\n// c", ".#"},
      {"x.js", "return /`/.test(s);\n// c", ".#"}, {"x.js", "const r = x ? /`/ : 1;\n// c", ".#"},
      {"x.js", "const x = a / b; const s = `\n// x\n`;", "..."},
      {"x.js", "const x = f(a) / 2; const s = `\n// x\n`;", "..."},
      // Line splicing: the backslash makes "int x;" part of the comment, so
      // that line must not be moved, nor the one whose backslash reaches over it.
      {"x.c", "// a \\\nint x;\n// b", "..#"}, {"x.c", "// a \\\n// b", ".#"},
      {"x.c", "x(); // a \\\n/* not opened\n// b", "..#"}, {"x.java", "// a \\\nint x;", "#."},
      // Bytes that are no text.
      {"x.c", "\xff\xfe // x\n// c\n\0\n// \xc3"s, ".#.#"},
      {"x.rs", "let c = '\xff'; let d = '\xe2\x82';\n// c"s, ".#"}, {"x.rs", "let c = '"s, "."},
      {"x.cpp", "R\"abcdefghijklmnopq(\n// c"s, ".#"}, {"x.swift", "let s = \"\\"s, "."},
      {"", "\0//\n\t\0"s, ".."},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const char ch : c.text) shown += ch == '\n' ? "⏎" : std::string(1, ch);
    EXPECT_EQ(mask(lexComments(c.text, languageForPath(c.file).language)), c.expected)
        << c.file << " «" << shown << "»";
  }
}

// Only some languages nest block comments.
TEST(BlockCommentNesting, OnlyWhereTheLanguageHasIt) {
  const std::string text = "/* a /* b */\n// c\n*/\n// d";
  for (const char* file : {"x.c", "x.java", "x.ts", "x.go", "x.cs", "x.m"}) {
    EXPECT_EQ(mask(lexComments(text, languageForPath(file).language)), "##.#") << file;
  }
  for (const char* file : {"x.rs", "x.swift", "x.kt", "x.scala", "x.dart"}) {
    EXPECT_EQ(mask(lexComments(text, languageForPath(file).language)), "...#") << file;
  }
}

// The name or the extension, in any case, picks the language; the last
// extension counts.
TEST(LanguageForPath, ReadsTheExtension) {
  using Kind = LanguageLookup::Kind;
  const struct {
    const char* path;
    Kind kind;
    const char* language;  // the name when known
  } cases[] = {
      {"src/main.rs", Kind::known, "Rust"},        {"include/x.h", Kind::known, "C"},
      {"Engine.CPP", Kind::known, "C++"},          {"build.gradle.kts", Kind::known, "Kotlin"},
      {"build.gradle", Kind::known, "Groovy"},     {"tools/run.py", Kind::known, "Python"},
      {"CMakeLists.txt", Kind::known, "CMake"},    {"site/style.scss", Kind::unknown, ""},
      {"Makefile", Kind::known, "Makefile"},       {"conf.d/settings", Kind::unknown, ""},
      {".bashrc", Kind::known, "Shell"},           {"name.", Kind::unknown, ""},
      {"README.md", Kind::noLineComments, ""},     {"notes.txt", Kind::noLineComments, ""},
      {"", Kind::unknown, ""},
  };
  for (const auto& c : cases) {
    const LanguageLookup lookup = languageForPath(c.path);
    EXPECT_EQ(lookup.kind, c.kind) << c.path;
    EXPECT_EQ(lookup.language ? lookup.language->name : "", c.language) << c.path;
  }
}

TEST(CommentMarkers, GiveTheMarkerOffsetInItsLine) {
  const SourceLanguage* cpp = languageForPath("x.cpp").language;
  const std::vector<std::optional<std::size_t>> expected{2, 1, std::nullopt, 0, std::nullopt};
  EXPECT_EQ(commentMarkers("  // a\n\t//b\nx // c\r\n//\r\n", cpp), expected);
  EXPECT_EQ(commentMarkers("  // a\n\t//b\nx // c\r\n//\r\n", nullptr), expected);
}

// Which marker a line opens with: a doc marker, or the line marker, which a
// rule of slashes keeps.
TEST(CommentFacts, NameTheMarker) {
  const std::string text = "/// doc\n  //! inner\n//// rule\n//\n///\n//!/ x\nx;";
  const CommentMap facts = lexComments(text, languageForPath("x.rs").language);
  std::vector<std::string> markers;
  std::size_t begin = 0;
  for (const CommentFacts& line : facts) {
    const std::size_t end = std::min(text.find('\n', begin), text.size());
    markers.emplace_back(line.isWholeLine() ? line.marker(std::string_view(text).substr(begin, end - begin)) : "-");
    begin = end + 1;
  }
  EXPECT_EQ(markers, (std::vector<std::string>{"///", "//!", "//", "//", "///", "//", "-"}));
}

// Whole lines of one language, and which of them are comment lines.
struct LanguagePieces {
  std::string file;
  std::vector<Piece> pieces;
};

// A block comment's lines that hold text are comment lines; a block that
// shares a line with code, or nests, is code.
const std::vector<Piece> blockComments{
    {"/* a\n// b\n*/", "##."}, {"/* a */ // b", "."}, {"/**\n * a\n *\n */", ".##."}, {"/* a\n*/ x();", ".."}};

std::vector<LanguagePieces> allPieces() {
  return {
      {"x.cpp", {{"s = R\"d(\n// x\n)\"\n)d\";", "...."}, {"c = '\"';", "."}, {"s = \"a \\\n// b\";", ".."},
                 {"n = 0xFF'FF;", "."}, {"#define X \"//\"", "."}}},
      {"x.rs", {{"let s = \"\n// x\n\";", "..."}, {"let s = r#\"\n// \"\n\"#;", "..."},
                {"fn f<'a>(x: &'a str) {}", "."}, {"let c = '\"';", "."}, {"/* a /* b */\n// c\n*/", "..."}}},
      {"x.go", {{"s := `\n// x\n`", "..."}, {"r := '`'", "."}}},
      {"x.ts", {{"s = `\n// x ${ `\n// y` }\n`;", "...."}, {"re = /[`]/;", "."}, {"s = '`';", "."},
                {"x = a / b;", "."}}},
      {"x.java", {{"String s = \"\"\"\n// x\n\"\"\";", "..."}, {"char c = '\"';", "."}}},
      {"x.kt", {{"val s = \"\"\"\n// x\n\"\"\"", "..."}, {"val c = '\"'", "."}, {"/* a /* b */\n// c\n*/", "..."}}},
      {"x.cs", {{"var s = @\"\n// \"\"x\"\"\n\";", "..."}, {"var s = \"\"\"\n// x\n\"\"\";", "..."}}},
      {"x.swift", {{"let s = \"\"\"\n// x\n\"\"\"", "..."}, {"let s = #\"\"\"\n\"\"\"\n// x\n\"\"\"#", "...."}}},
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
    language.pieces.insert(language.pieces.end(), {{"// note", "#"}, {"x = f(y); // trailing", "."}, {"}", "."}});
    if (language.file != "x.zig") {
      language.pieces.insert(language.pieces.end(), blockComments.begin(), blockComments.end());
    }
    const SourceLanguage* rules = languageForPath(language.file).language;
    ASSERT_NE(rules, nullptr) << language.file;
    expectMasksOfRandomPrograms(language.pieces, rules, language.file, random, 3);
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
      ASSERT_EQ(lexedInPieces(text, rules, random), lexComments(text, rules)) << file << ": " << text;
      ASSERT_EQ(lexedInPieces(text, nullptr, random), lexComments(text, nullptr)) << text;
      ASSERT_EQ(lexed.size(), lineRule.size());
      for (std::size_t line = 0; line < lexed.size(); ++line) {
        ASSERT_TRUE(!lexed[line] || lexed[line] == lineRule[line]) << file << " line " << line << ": " << text;
      }
    }
  }
}

}  // namespace
}  // namespace brindlewort
