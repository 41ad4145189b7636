// Block and doc comments: which lines the lexer hands to the re-flow, and
// what re-flowing them keeps. Each row is also re-flowed a second time, and
// a filled one unwrapped and filled back, which must give the same text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reflow/comment_lexer.h"
#include "reflow_case.h"

namespace brindlewort {
namespace {

constexpr ReflowMode wrap = ReflowMode::wrap;
constexpr ReflowMode fill = ReflowMode::fill;
constexpr ReflowMode unwrap = ReflowMode::unwrap;

const ReflowCase cases[] = {
    // Opener and closer lines without text are kept; the decoration stays.
    {"JavadocKeepsItsDecoration", wrap, 40,
     "/**\n * Returns the value stored under the key, or null.\n */\nint f();\n",
     "/**\n * Returns the value stored under the\n * key, or null.\n */\nint f();\n", "X.java"},
    {"DoubleStarDecoration", fill, 30, "/**\n ** one two three four five six seven eight\n **/\n",
     "/**\n ** one two three four five\n ** six seven eight\n **/\n", "x.c"},
    // Text on the opener's line goes on with the decoration below it.
    {"OpenerTextGoesOnWithTheDecoration", wrap, 40,
     "/* Text on the opener line that is far too long.\n * More text.\n */\n",
     "/* Text on the opener line that is far\n * too long. More text.\n */\n", "x.c"},
    {"OpenerTextAlignedUnderTheOpener", fill, 30, "  /* one two three four five six\n     seven eight nine */\n",
     "  /* one two three four five\n     six seven eight nine */\n", "x.c"},
    // The closer stays after the last word.
    {"CloserStaysAfterTheLastWord", fill, 30, "/*\n * one two three four five six seven. */\n",
     "/*\n * one two three four five six\n * seven. */\n", "x.c"},
    {"TwoBlanksBeforeTheCloserStay", fill, 30, "/* One two three four.  Five six seven.  */\n",
     "/* One two three four.  Five\n * six seven.  */\n", "x.c"},
    // One line: left alone while it fits, broken like a block when it does not,
    // and never made by unwrap.
    {"OneLineBlockThatFitsIsKept", fill, 40, "/* a short one */\n", nullptr, "x.c"},
    {"LongOneLineBlockIsBroken", wrap, 30, "/** Returns the key of the entry. */\n",
     "/** Returns the key of the\n * entry. */\n", "x.ts"},
    {"UnwrapMakesNoOneLineBlock", unwrap, 80, "/* one two\n * three */\n", nullptr, "x.c"},
    // Left alone: blocks sharing a line with code, boxes, nested blocks.
    {"BlockAfterCodeIsKept", fill, 20, "int x; /* one two three four five\n   six seven */\n", nullptr, "x.c"},
    {"BlockBeforeCodeIsKept", fill, 20, "/* one two three four five\n   six seven */ int x;\n", nullptr, "x.c"},
    {"BoxIsKept", fill, 20, "/*****************\n * one two three *\n * four five six *\n *****************/\n",
     nullptr, "x.c"},
    {"NestedBlockIsKept", fill, 20, "/* one /* two */ three four five six\n   seven */\n", nullptr, "x.rs"},
    // Structure inside blocks, as in line comments.
    {"LicenceInABlockIsKept", fill, 40,
     "/*\n * Copyright 2024 A. Person\n *\n * Licensed under the terms that follow here, which are long.\n */\nint x;\n",
     nullptr, "x.c"},
    {"PreBlockIsVerbatim", fill, 30, "/**\n * <pre>\n *   int  x =  1;  // one two three\n * </pre>\n */\n",
     nullptr, "X.java"},
    {"CodeTagBlockIsVerbatim", fill, 30, "/**\n * @code\n *   f(a,   b);   // one two three\n * @endcode\n */\n",
     nullptr, "x.cc"},
    {"LoneParagraphTagStaysALine", fill, 60, "/**\n * One.\n * <p>\n * Two three.\n */\n", nullptr, "X.java"},
    {"TableRowsStayLines", fill, 30,
     "/**\n * <tr><td>one two three four</td>\n *   <td>five six seven eight</td></tr>\n */\n", nullptr, "X.java"},
    // A star glued to a word at a line's start is emphasis, not decoration.
    {"EmphasisAtALineStartIsNoDecoration", fill, 40,
     "/* The latter is for\n   *parsing errors*, and the former for\n   other problems.  */\nint x;\n",
     "/* The latter is for *parsing errors*,\n   and the former for other\n   problems.  */\nint x;\n", "x.c"},
    // Joined, this block would read as decorated by its closer alone.
    {"UndecoratedBlockWithItsCloserAloneStaysUnjoined", unwrap, 80,
     "/* The application can compare versions.\n   If the first character differs.\n */\nint x;\n", nullptr,
     "x.c"},
    {"UndecoratedBlockFillsBackUnderItsText", fill, 30,
     "/* The application can compare versions.\n   If the first character differs.\n */\nint x;\n",
     "/* The application can compare\n   versions. If the first\n   character differs.\n */\nint x;\n", "x.c"},
    // Text glued to the opener goes on set off from the decoration.
    {"TextGluedToTheOpenerGoesOnSetOff", wrap, 40,
     "    /**Names of platforms supported by this provider.\n     *\n     * @return keys\n     */\n",
     "    /**Names of platforms supported by\n     * this provider.\n     *\n     * @return keys\n     */\n",
     "X.java"},
    {"ColumnOfNamesIsKept", fill, 60, "/*\n  copy_if\n  count_if\n  find_end\n  for_each (C++11)\n*/\n",
     nullptr, "x.h"},
    // Doc tags: each starts a paragraph; a first break hangs under the
    // description; inline tags and markup tags are never split.
    {"ParamHangsUnderItsDescription", wrap, 40,
     "/**\n * @param name the name to look up in the table\n * @return the value\n */\n",
     "/**\n * @param name the name to look up in\n *             the table\n * @return the value\n */\n", "X.java"},
    {"JsDocTypeStaysWithItsTag", wrap, 50, "/**\n * @param {string} name the name to look up in the table\n */\n",
     "/**\n * @param {string} name the name to look up in the\n *                      table\n */\n", "x.js"},
    {"NoRoomUnderTheDescriptionGoesOnUnderTheTag", wrap, 40,
     "/**\n * @param {string} name the name to look up\n */\n",
     "/**\n * @param {string} name the name to look\n * up\n */\n", "x.js"},
    {"TagContinuationAtTheTagColumnJoins", fill, 50,
     "/**\n * @throws IOException if the file\n * cannot be read\n */\n",
     "/**\n * @throws IOException if the file cannot be read\n */\n", "X.java"},
    {"LoneTagTakesTheTextBelow", fill, 60, "/**\n * @deprecated\n * Use the other one.\n */\n",
     "/**\n * @deprecated Use the other one.\n */\n", "x.ts"},
    {"InlineTagIsNeverSplit", wrap, 40,
     "/**\n * Calls {@link Map#get(Object) get} on the map and more.\n */\n",
     "/**\n * Calls {@link Map#get(Object) get} on\n * the map and more.\n */\n", "X.java"},
    {"MarkupTagIsNeverSplit", wrap, 42,
     "/**\n * See <a href=\"https://example.com/x\">the guide</a> for more.\n */\n",
     "/**\n * See <a href=\"https://example.com/x\">the\n * guide</a> for more.\n */\n", "X.java"},
    {"CSharpXmlTagsKeepTheirLines", fill, 60,
     "/// <summary>\n/// One two\n/// three.\n/// </summary>\n/// <param name=\"x\">The x.</param>\n",
     "/// <summary>\n/// One two three.\n/// </summary>\n/// <param name=\"x\">The x.</param>\n", "x.cs"},
    // A word opening with the decoration never starts a line of a block.
    {"StarWordNeverOpensALine", fill, 24, "/* one two three four by\n   *ROOTP and so on */\n",
     "/* one two three four\n   by *ROOTP and so\n   on */\n", "x.c"},
    // The blocks of other languages, by the same rules; most have no
    // decoration, their lines being indented text.
    {"CMakeBracketCommentAsModuleDocs", wrap, 40,
     "#[=[.rst:\nFindFoo\n-------\n\nFinds the Foo library and sets the variables below.\n#]=]\nset(x 1)\n",
     "#[=[.rst:\nFindFoo\n-------\n\nFinds the Foo library and sets the\nvariables below.\n#]=]\nset(x 1)\n",
     "x.cmake"},
    {"CMakeCloserWithItsHashStaysAfterTheLastWord", fill, 30, "#[[\none two three four five six seven. #]]\n",
     "#[[\none two three four five six\nseven. #]]\n", "CMakeLists.txt"},
    {"CMakeOneLineBracketCommentGoesOnUnderItsText", fill, 30, "#[[ one two three four five six seven ]]\n",
     "#[[ one two three four five\n    six seven ]]\n", "x.cmake"},
    {"CMakeLineCommentsInABracketCommentAreKept", unwrap, 80, "#[[\n# aaaa bbbb\n# cccc\n]]\n", nullptr, "x.cmake"},
    {"CMakeBracketArgumentIsNoComment", fill, 20, "set(x [[\none two three four five six seven\n]])\n", nullptr,
     "x.cmake"},
    {"LuaLongComment", fill, 30, "--[[\n  One two three four five six seven eight.\n--]]\n",
     "--[[\n  One two three four five six\n  seven eight.\n--]]\n", "x.lua"},
    {"LuaLevelledLongCommentUnderItsText", fill, 30, "--[==[ One two three four five six seven\n       eight. ]==]\n",
     "--[==[ One two three four five\n       six seven eight. ]==]\n", "x.lua"},
    {"LuaCommentedOutCodeIsKept", unwrap, 80, "--[[\nlocal x = f(1)\nlocal y = 2\n--]]\n", nullptr, "x.lua"},
    {"LuaLongCommentAfterCodeIsKept", fill, 20, "x = 1 --[[ one two three four five\nsix seven ]]\n", nullptr, "x.lua"},
    {"HaskellBlockUnderItsText", fill, 30, "{- One two three four five six seven\n   eight nine -}\n",
     "{- One two three four five six\n   seven eight nine -}\n", "x.hs"},
    {"HaskellBlockWithEdges", fill, 30, "{-\n  One two three four five six seven\n  eight nine\n-}\n",
     "{-\n  One two three four five six\n  seven eight nine\n-}\n", "x.hs"},
    {"SqlBlockKeepsItsDecoration", fill, 30, "/*\n * One two three four five six seven.\n */\n",
     "/*\n * One two three four five six\n * seven.\n */\n", "x.sql"},
    {"SqlOneLineBlock", fill, 30, "/* One two three four five six seven eight */\n",
     "/* One two three four five six\n * seven eight */\n", "x.sql"},
};

class BlockComments : public testing::TestWithParam<ReflowCase> {};

TEST_P(BlockComments, GiveTheExpectedText) { expectReflowCase(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Cases, BlockComments, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<ReflowCase>& row) { return row.param.name; });

// The role the lexer gives each line of a block: '.' code, '-' an opener or
// closer alone, 'o' the opener's line with text, 'b' a later line of text.
std::string roles(std::string_view text, const char* file) {
  std::string result;
  for (const CommentFacts& facts : lexComments(text, languageForPath(file).language)) {
    switch (facts.role) {
      case CommentRole::code: result += '.'; break;
      case CommentRole::wholeLine: result += '#'; break;
      case CommentRole::blockOpener: result += 'o'; break;
      case CommentRole::blockLine: result += 'b'; break;
      case CommentRole::blockEdge: result += '-'; break;
    }
  }
  return result;
}

TEST(BlockLexing, GivesEachLineOfABlockItsRole) {
  const struct {
    const char* file;
    const char* text;
    const char* roles;
  } rows[] = {
      {"x.c", "/**\n * a\n *\n */", "-bb-"},
      {"x.c", "/* a\n   b */", "ob"},
      {"x.c", "/* a */", "o"},
      {"x.c", "/**/", "."},
      {"x.c", "x(); /* a\n b */", ".."},
      {"x.c", "/* a\n b */ x();", ".."},
      {"x.c", "/* a */ /* b\n c */", ".."},
      {"x.c", "/* never\n closed", ".."},
      {"x.rs", "/* a /* b */\n c */", ".."},
      {"x.c", "/* a /* b */", "o"},
      {"x.c", "s = \"/* a\";\n// b", ".#"},
      {"x.c", "/***********\n * a       *\n ***********/", "..."},
      {"x.java", "/**\n * a\n */\n// b", "-b-#"},
      // Long brackets after the line marker; the marker before the closer
      // goes with it.
      {"x.cmake", "#[[\na\n#]]\n# b", "-b-#"},
      {"x.cmake", "#[==[ a\n]] b ]=]\n]==]", "ob-"},
      {"x.lua", "--[[ a\n b --]]\n-- c", "ob#"},
      {"x.lua", "---[[ a\n-- b", "##"},
      {"x.lua", "s = [[\n-- a\n]]", "..."},
      {"x.hs", "{- a\n b -}", "ob"},
      {"x.hs", "{- a {- b -}\n c -}", ".."},
      {"x.jl", "#=\n a\n=#", "-b-"},
      {"x.scm", "#| a |#", "o"},
  };
  for (const auto& c : rows) EXPECT_EQ(roles(c.text, c.file), c.roles) << c.file << " «" << c.text << "»";
}

// The decoration and the opener, as the lexer reports them.
TEST(BlockLexing, ReportsTheDecorationAsTheMarker) {
  const std::string text = "  /** a\n   ** b\n   */";
  const CommentMap facts = lexComments(text, languageForPath("x.c").language);
  ASSERT_EQ(facts.size(), 3u);
  EXPECT_EQ(facts[0].markerAt, 2u);
  EXPECT_EQ(facts[0].markerSize, 3u);
  EXPECT_TRUE(facts[0].decorated);
  EXPECT_EQ(facts[1].markerAt, 3u);
  EXPECT_EQ(facts[1].markerSize, 2u);
}

}  // namespace
}  // namespace brindlewort
