#include "reflow/comment_lines.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "reflow/source_language.h"

namespace brindlewort {
namespace {

using namespace std::string_literals;

// One character a line: '#' for a comment line, '.' for any other.
std::string mask(const std::vector<bool>& lines) {
  std::string result;
  for (const bool comment : lines) result += comment ? '#' : '.';
  return result;
}

struct MaskCase {
  std::string file;  // its extension picks the language; "" for none
  std::string text;
  std::string expected;
};

void PrintTo(const MaskCase& c, std::ostream* out) {
  *out << c.file << " «";
  for (const char ch : c.text) *out << (ch == '\n' ? "⏎" : std::string(1, ch));
  *out << "»";
}

class CommentLines : public testing::TestWithParam<MaskCase> {};

TEST_P(CommentLines, MarksExactlyTheCommentLines) {
  const MaskCase& c = GetParam();
  const LanguageLookup lookup = languageForPath(c.file);
  EXPECT_EQ(mask(commentLines(c.text, lookup.language)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    LineRule, CommentLines,
    testing::Values(MaskCase{"", "// a\n  // b\n\t//c\nx // d\n", "###.."},
                    MaskCase{"", "/* a\n// b\n*/", ".#."},
                    MaskCase{"x.cc", "// a\r\nx();\r\n  // b\r\n", "#.#."},
                    MaskCase{"x.cc", "/ / a\n/* */ // b\n/// doc\n//", "..##"}));

INSTANTIATE_TEST_SUITE_P(
    BlockComments, CommentLines,
    testing::Values(
        MaskCase{"x.c", "/* start\n// inside\n*/\n// after", "...#"},
        MaskCase{"x.c", "int x; /* a\n// b\n*/ int y;\n// c", "...#"},
        MaskCase{"x.c", "/* a\n*/ // b\n// c", "..#"},
        MaskCase{"x.c", "/*/ a\n// b\n*/", "..."},
        MaskCase{"x.c", "/* never closed\n// a\n// b", "..."},
        // Only some languages nest block comments.
        MaskCase{"x.c", "/* a /* b */\n// c\n*/", ".#."},
        MaskCase{"x.java", "/* a /* b */\n// c\n*/", ".#."},
        MaskCase{"x.ts", "/* a /* b */\n// c\n*/", ".#."},
        MaskCase{"x.go", "/* a /* b */\n// c\n*/", ".#."},
        MaskCase{"x.cs", "/* a /* b */\n// c\n*/", ".#."},
        MaskCase{"x.m", "/* a /* b */\n// c\n*/", ".#."},
        MaskCase{"x.rs", "/* a /* b */\n// c\n*/\n// d", "...#"},
        MaskCase{"x.swift", "/* a /* b */\n// c\n*/\n// d", "...#"},
        MaskCase{"x.kt", "/* a /* b */\n// c\n*/\n// d", "...#"},
        MaskCase{"x.scala", "/* a /* b */\n// c\n*/\n// d", "...#"},
        MaskCase{"x.dart", "/* a /* b */\n// c\n*/\n// d", "...#"},
        MaskCase{"x.zig", "const a = 1; /* no block\n// c", ".#"}));

INSTANTIATE_TEST_SUITE_P(
    Strings, CommentLines,
    testing::Values(
        MaskCase{"x.c", "s = \"/*\";\n// c", ".#"},
        MaskCase{"x.c", "s = \"\\\"/*\";\n// c", ".#"},
        MaskCase{"x.c", "s = \"unterminated\n// c", ".#"},
        MaskCase{"x.c", "s = \"a \\\n// b\";\n// c", "..#"},
        MaskCase{"x.c", "s = \"a \\\r\n// b\";\r\n// c", "..#"},
        MaskCase{"x.m", "NSString *s = @\"/*\";\n// c", ".#"},
        MaskCase{"x.go", "s := \"a\n// c", ".#"},
        MaskCase{"x.rs", "let s = \"a\n// b\n\";\n// c", "...#"},
        MaskCase{"x.js", "s = '/*';\n// c", ".#"},
        MaskCase{"x.proto", "option x = '/*';\n// c", ".#"},
        MaskCase{"x.dart", "var s = '/*';\n// c", ".#"},
        // Dart's raw strings take no escapes.
        MaskCase{"x.dart", "var s = r'\\'; /* x\n// in\n*/", "..."},
        // C#'s verbatim strings: "" for a quote, no escapes, any number of lines.
        MaskCase{"x.cs", "var s = @\"a \"\" b\n// x\n\";\n// c", "...#"},
        MaskCase{"x.cs", "var s = @\"\\\"; /* x\n// in\n*/", "..."},
        MaskCase{"x.cs", "var s = $@\"{a}\n// x\n\";\n// c", "...#"},
        MaskCase{"x.cs", "var s = @$\"{a}\n// x\n\";\n// c", "...#"},
        MaskCase{"x.cs", "var s = $\"{a} /*\";\n// c", ".#"}));

INSTANTIATE_TEST_SUITE_P(
    CharactersAndLabels, CommentLines,
    testing::Values(
        MaskCase{"x.c", "c = '\"'; /* x\n// in\n*/", "..."},
        MaskCase{"x.c", "c = '\\''; /* x\n// in\n*/", "..."},
        MaskCase{"x.cc", "n = 0xFF'FF; /* x\n// in\n*/", "..."},
        MaskCase{"x.cc", "c = u8'\"'; /* x\n// in\n*/", "..."},
        MaskCase{"x.java", "char c = '\"'; /* x\n// in\n*/", "..."},
        MaskCase{"x.kt", "val c = '\"'; /* x\n// in\n*/", "..."},
        MaskCase{"x.go", "r := '\"'; /* x\n// in\n*/", "..."},
        MaskCase{"x.rs", "let c = '\"';\n// c\nlet d = 1;", ".#."},
        MaskCase{"x.rs", "let v = ['\\'','\"'];\n// c", ".#"},
        MaskCase{"x.rs", "let v = ['\\u{1F600}','\"'];\n// c", ".#"},
        MaskCase{"x.rs", "let b = b'\"';\n// c", ".#"},
        MaskCase{"x.rs", "let v = ('é','\"');\n// c", ".#"},
        MaskCase{"x.rs", "fn f<'a>(x: &'a str) -> &'static str {\n// c\n}", ".#."},
        MaskCase{"x.rs", "'outer: loop {\n// c\nbreak 'outer;\n}", ".#.."},
        MaskCase{"x.scala", "val s = 'sym\n// c", ".#"},
        MaskCase{"x.scala", "val c = '\"'\n// c", ".#"},
        // Backquotes quote identifiers, which may hold an apostrophe.
        MaskCase{"x.kt", "fun `doesn't crash`() { /* x\n// in\n*/", "..."}));

INSTANTIATE_TEST_SUITE_P(
    RawStrings, CommentLines,
    testing::Values(
        MaskCase{"x.cpp", "auto s = R\"(\n// not a comment\n)\";\n// c", "...#"},
        MaskCase{"x.cpp", "auto s = R\"x(\n)\"\n// still\n)x\";\n// c", "....#"},
        MaskCase{"x.cpp", "auto s = u8R\"(\n// x\n)\";", "..."},
        MaskCase{"x.h", "auto s = LR\"(\n// x\n)\";", "..."},
        MaskCase{"x.cpp", "auto s = FOOR\"(\n// c", ".#"},
        MaskCase{"x.rs", "let s = r#\"\n\"\n// x\n\"#;\n// c", "....#"},
        MaskCase{"x.rs", "let s = r##\"\n\"#\n// x\n\"##;\n// c", "....#"},
        MaskCase{"x.rs", "let s = br\"\\\";\n// c", ".#"},
        MaskCase{"x.rs", "let r#type = 1;\n// c", ".#"},
        MaskCase{"x.go", "s := `\n// x\n`\n// c", "...#"},
        MaskCase{"x.go", "s := `\\`\n// c", ".#"},
        MaskCase{"x.swift", "let s = #\"a\"b\"#; /* x\n// in\n*/", "..."},
        MaskCase{"x.swift", "let s = #\"\\\"#; /* x\n// in\n*/", "..."},
        MaskCase{"x.swift", "#if DEBUG\n// c\n#endif", ".#."}));

INSTANTIATE_TEST_SUITE_P(
    MultiLineStrings, CommentLines,
    testing::Values(
        MaskCase{"x.swift", "let s = \"\"\"\n// x\n\"\"\"\n// c", "...#"},
        MaskCase{"x.swift", "let s = #\"\"\"\n\"\"\"\n// x\n\"\"\"#\n// c", "....#"},
        MaskCase{"x.java", "String s = \"\"\"\n    // x\n    \"\"\";\n// c", "...#"},
        MaskCase{"x.java", "String s = \"\"\"\n  \\\"\"\"\n  // x\n  \"\"\";\n// c", "....#"},
        MaskCase{"x.kt", "val s = \"\"\"\\\"\"\"\n// c", ".#"},
        MaskCase{"x.kt", "val s = \"\"\"\"a\"\"\"\"\n// c", ".#"},
        MaskCase{"x.scala", "val s = s\"\"\"\n// x\n\"\"\"\n// c", "...#"},
        MaskCase{"x.cs", "var s = \"\"\"\"\n\"\"\"\n// x\n\"\"\"\";\n// c", "....#"},
        MaskCase{"x.cs", "var s = \"\";\n// c", ".#"},
        MaskCase{"x.dart", "var s = '''\n// x\n''';\n// c", "...#"},
        MaskCase{"x.dart", "var s = r\"\"\"\\\"\"\";\n// c", ".#"},
        MaskCase{"x.groovy", "def s = '''\n// x\n'''\n// c", "...#"},
        MaskCase{"x.zig", "const s =\n    \\\\ // not a comment\n    \\\\ \"\n;\n// c", "....#"}));

INSTANTIATE_TEST_SUITE_P(
    TemplatesAndRegularExpressions, CommentLines,
    testing::Values(
        MaskCase{"x.js", "const s = `\n// x\n${a}\n// y\n`;\n// c", ".....#"},
        MaskCase{"x.js", "const s = `${ f('`}') }\n// x\n`;\n// c", "...#"},
        MaskCase{"x.ts", "const s = `a ${`b ${c}`}\n// x\n`;\n// c", "...#"},
        MaskCase{"x.ts", "const s = `${ {a: 1}.a }\n// x\n`;\n// c", "...#"},
        MaskCase{"x.ts", "const s = `${\n// real comment\nx}`;\n// c", ".#.#"},
        MaskCase{"x.js", "const re = /[/*]/;\n// c", ".#"},
        MaskCase{"x.js", "const re = /\\/*/;\n// c", ".#"},
        MaskCase{"x.js", "return /`/.test(s);\n// c", ".#"},
        MaskCase{"x.js", "const r = x ? /`/ : 1;\n// c", ".#"},
        MaskCase{"x.js", "const x = a / b; const s = `\n// x\n`;", "..."},
        MaskCase{"x.js", "const x = f(a) / 2; const s = `\n// x\n`;", "..."}));

INSTANTIATE_TEST_SUITE_P(
    LineSplicing, CommentLines,
    testing::Values(
        // The backslash makes "int x;" part of the comment: that line must
        // not be moved, nor the one whose backslash reaches over it.
        MaskCase{"x.c", "// a \\\nint x;\n// b", "..#"},
        MaskCase{"x.c", "// a \\\n// b", ".#"},
        MaskCase{"x.c", "x(); // a \\\n/* not opened\n// b", "..#"},
        MaskCase{"x.java", "// a \\\nint x;", "#."}));

INSTANTIATE_TEST_SUITE_P(
    AnyBytes, CommentLines,
    testing::Values(MaskCase{"x.c", "\xff\xfe // x\n// c\n\0\n// \xc3"s, ".#.#"},
                    MaskCase{"x.rs", "let c = '\xff'; let d = '\xe2\x82';\n// c"s, ".#"},
                    MaskCase{"x.rs", "let c = '"s, "."},
                    MaskCase{"x.cpp", "R\"abcdefghijklmnopq(\n// c"s, ".#"},
                    MaskCase{"x.swift", "let s = \"\\"s, "."},
                    MaskCase{"", "\0//\n\t\0"s, ".."}));

TEST(CommentMarkers, GiveTheMarkerOffsetInItsLine) {
  const SourceLanguage* cpp = languageForPath("x.cpp").language;
  const std::vector<std::optional<std::size_t>> expected{2, 1, std::nullopt, 0, std::nullopt};
  EXPECT_EQ(commentMarkers("  // a\n\t//b\nx // c\r\n//\r\n", cpp), expected);
  EXPECT_EQ(commentMarkers("  // a\n\t//b\nx // c\r\n//\r\n", nullptr), expected);
}

}  // namespace
}  // namespace brindlewort
