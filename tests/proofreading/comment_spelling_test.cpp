// Spelling as brindle and the workbench check it, with the real en_US
// dictionary: code inside comments is not prose, the code's own words and
// general software terms pass, and real typos are still found, even those
// that look like an identifier.

#include "proofreading/comment_spelling.h"

#include <gtest/gtest.h>

#include "engine/rewrap.h"
#include "reflow/comment_lexer.h"
#include "reflow/comment_run_walker.h"
#include "proofreading/enchant_spell_checker.h"
#include "proofreading/project_spelling.h"

namespace brindlewort {
namespace {

std::shared_ptr<const SpellChecker> dictionary() {
  static const std::shared_ptr<const SpellChecker> checker = [] {
    Result<OpenedSpellChecker> opened = openEnchantSpellChecker("en_US");
    return opened ? std::shared_ptr<const SpellChecker>(std::move(opened->checker)) : nullptr;
  }();
  return checker;
}

// Texts without a file have no repository to read.
RepositoryVocabularies noRepository;

// The misspelt words of a source text checked with its own vocabulary.
std::vector<std::string> misspelt(std::string_view source) {
  const std::vector<std::string> lines = splitLines(std::string(source));
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  const auto checker = projectSpellChecker(dictionary(), {}, source, noRepository);
  std::vector<std::string> words;
  for (const auto& [line, finding] : commentSpellingFindings(views, *checker)) words.push_back(finding.word);
  return words;
}

using Words = std::vector<std::string>;

TEST(CommentSpelling, CodeInsideCommentsIsNotProse) {
  ASSERT_TRUE(dictionary());
  const std::pair<const char*, std::string_view> cases[] = {
      {"backtick fence", "/// Use it:\n/// ```\n/// let zorg = frobl(qwx);\n/// ```\n/// Finishd.\n"},
      {"tilde fence", "// Use it:\n// ~~~\n// zorg frobl qwx\n// ~~~\n// Finishd.\n"},
      {"indented code", "// Use it like this:\n//\n//     zorg := frobl(qwx)\n//     glimp(zorg)\n//\n// Finishd.\n"},
      {"inline code", "// Call `frobl qwx` first. Finishd.\n"},
      {"commented-out code", "// Finishd.\n// if (frobl(qwx)) { zorg(); }\n"},
      {"directive", "// Finishd.\n//go:generate frobl -qwx zorg\n"},
      {"nested comment", "// Finishd.\n// // zorg frobl qwx\n"},
      {"switched off", "// brindle: off\n// zorg frobl qwx\n// brindle: on\n// Finishd.\n"},
  };
  for (const auto& [name, source] : cases) EXPECT_EQ(misspelt(source), Words{"Finishd"}) << name;
}

// Typos that hid on code nobody on the project wrote, and what must stay
// unflagged next to them.
TEST(CommentSpelling, FindsTyposWhereTheyUsedToHide) {
  ASSERT_TRUE(dictionary());
  const struct {
    const char* name;
    std::string_view source;
    Words found;
  } cases[] = {
      {"inline link text", "// See [the docss](https://exmaple.com/pathh).\n", {"docss"}},
      {"reference link text", "// See [the refrence][labbel] and [shortcutt].\n", {"refrence", "shortcutt"}},
      {"reference definition", "// See [the refrence].\n//\n// [the refrence]: https://exmaple.com/pathh\n",
       {"refrence"}},
      {"deeper doc continuation", "/// - Parameter x: the value\n///     more txet here\n///     and moer.\n",
       {"txet", "moer"}},
      {"indented code stays code", "// Use it:\n//\n//     zorg(frobl)\n//\n// Done.\n", {}},
      {"slash compounds", "// An obsolete/cleannup and saveing/setting step.\n", {"cleannup", "saveing"}},
      {"paths stay code", "// See src/frobl/zorg.c and /usr/lbi and ./tols/x.\n", {}},
      {"plural after a hiss", "// Each classs and proccesss.\nint class_name; int process_id;\n",
       {"classs", "proccesss"}},
      {"plurals of code words", "// The classes and processes.\nint class_name; int process_id;\n", {}},
      {"ordinal endings", "// Take the k-th and the n'th item, not the ktth.\n", {"ktth"}},
      {"hyphen prefixes", "// It is un-escaped, re-run and non-null, a hodge-podge.\n", {}},
      {"hyphenated at a line break", "// It is a hodge-\n// podge of every-\n// thing.\n", {}},
      {"a typo hyphenated at a line break", "// It is a hodge-\n// podgg.\n", {"podgg"}},
      {"tool directives",
       "// ktlint-disable no-wildcard-imports\n// tslint:disable-next-line:no-any\n"
       "// eslint-disable-next-line no-console\n// biome-ignore lint/style/useConst: frobl\n"
       "// @ts-expect-error frobl\n// rubocop:disable Style/Frobl\n// pylint: disable=frobl-zorg\n"
       "// noqa: E501 frobl\n",
       {}},
  };
  for (const auto& c : cases) EXPECT_EQ(misspelt(c.source), c.found) << c.name;
}

TEST(CommentSpelling, AcceptsTheCodesWordsAndGeneralTerms) {
  ASSERT_TRUE(dictionary());
  const std::pair<const char*, std::string_view> cases[] = {
      {"identifier parts", "// The frobnicator's glimpWidget keeps a zorgList.\nint frobnicator;\n"
                           "Widget glimpWidget; List zorg_list;\n"},
      {"plural, possessive, capital", "// Frobnicators, the frobnicator's, FROBNICATOR.\nint frobnicator;\n"},
      {"whole identifier", "// Calls getline and readline.\nauto x = getline(readLine());\n"},
      {"programmer terms", "// A mutex guards the deque's subranges; enums, structs and codepoints.\n"},
      {"names of software", "// Built by github, run by systemd behind nginx.\n"},
  };
  for (const auto& [name, source] : cases) EXPECT_EQ(misspelt(source), Words{}) << name;
}

TEST(CommentSpelling, ContextShowsWhatIsNoProse) {
  ASSERT_TRUE(dictionary());
  const std::pair<const char*, std::string_view> cases[] = {
      {"name in mid-sentence", "// Written with Zorblatt and Quimby.\n"},
      {"name of a to-do", "// TODO(zorblatt): later.\n// BUG(qwimby) here.\n// NB(zrb): note.\n"},
      {"doc tag and flag", "/// See @zorbcond and -Wqwimby, --zorbflag.\n"},
      {"call and member", "// Then zorbify() runs and .qwimby is set.\n"},
      {"copyright line", "// Copyright 2021 Zorblatt Qwimbyware GmbH.\n"},
      {"hexadecimal digits", "// The bytes abf, deadbf follow.\n"},
      {"other English spelling", "// The colour and behaviour.\n"},
      {"names in a citation", "// W. T. Vetterlang, B. P. Flannary and Devroya, L. (1992).\n"},
      {"author tag", "/// @author Sergei A. Malenkovv\n"},
      {"verb made of a name", "// Then gofmt'ed, mmap'd, cas'ing and the v'th bit.\n"},
      {"tracker numbers", "// See bpo-39812 and gh-1201.\n"},
      {"prefixed words", "// Unshares the nonpositive subnodes that postdominate; multicasting with libarchive.\n"},
      {"doc tag opening the text", " * @jls 5.1.3 Conversion\n * \\doctodo later\n"},
      {"letters glued to a number", "// 0xfffffade in hex, 64bit, 10ms\n"},
      {"variables beside operators", "//   yh = y1*b, and if xh != 0 or ncom := n or qtxt <= 3\n"},
      {"names after doc tags", " *  @ingroup zorbfund-ts\n *  If @e xzorb is null, then @c qwimby and \\p frobl.\n"},
      {"change log writers", "# 2003-06-15 zrb  Add support for time.\n"},
      {"words run together", "// The hittesting workbuffer, pagedown and bytestream.\nint hit, work, page, down, byte;\n"},
  };
  for (const auto& [name, source] : cases) EXPECT_EQ(misspelt(source), Words{}) << name;
  // A capital that may open a sentence proves nothing.
  EXPECT_EQ(misspelt("// Zorblatt here. Qwimby there.\n"), (Words{"Zorblatt", "Qwimby"}));
  EXPECT_EQ(misspelt("// a non-blokcing call\n"), Words{"blokcing"});  // a compound, not a flag
  // Words that only resemble a copyright line's marks.
  EXPECT_EQ(misspelt("// Authorization headre; (c) the thrid case\n"), (Words{"headre", "thrid"}));
  // A copyright line's English words are checked, its names are not.
  EXPECT_EQ(misspelt("// Copyright Zorblatt; provided that the abov copyright notice\n"), Words{"abov"});
  // Only the apostrophe forms of names: a possessive is checked.
  EXPECT_EQ(misspelt("// The wrold's end, the wrold'ed.\n"), Words{"wrold's"});
  // A prefix makes no word of a word that is none, nor of a short one.
  EXPECT_EQ(misspelt("// The libary, unexpectd, untill and sublass.\n"),
            (Words{"libary", "unexpectd", "untill", "sublass"}));
  // Two words run together are a misspelling when a word is one slip away,
  // or when a part is a short word only the dictionary knows.
  EXPECT_EQ(misspelt("// A forground, hexdecimal and panicing limitions.\nint fore, hex, pan, limit;\n"),
            (Words{"forground", "hexdecimal", "panicing", "limitions"}));
  // The marker stays out of the text, with no blank after it too.
  EXPECT_EQ(misspelt("    //Conect to a functor\n"), Words{"Conect"});
  // Operators glued to words or in prose prove nothing.
  EXPECT_EQ(misspelt("// The wrold -> the end and the wrold - x\n"), (Words{"wrold", "wrold"}));
  // A link that opens the text is read as a link.
  EXPECT_EQ(misspelt("// [thme](https://example.com/a/b) in a structure.\n"), Words{"thme"});
}

TEST(CommentSpelling, FindsTyposThatResembleTheCode) {
  ASSERT_TRUE(dictionary());
  const std::pair<const char*, std::string_view> cases[] = {
      // "recieve" is no part of receiveBuffer; "buffr" is a prefix of a
      // part, "bufferd" a near miss of one.
      {"near miss of an identifier", "// Does not recieve data.\nint receiveBuffer;\n"},
      {"prefix of an identifier part", "// Fills the buffr.\nint bufferSize;\n"},
      {"longer than a part", "// Fills the bufferd.\nint bufferSize;\n"},
      {"only in a string", "// Prints the wrold.\nconst char* s = \"hello wrold\";\n"},
      {"typo of a general term", "// Locks the mutexx.\n"},
  };
  for (const auto& [name, source] : cases) EXPECT_EQ(misspelt(source).size(), 1u) << name;
  // A block comment is a comment too: its typo counts, as the line's does.
  EXPECT_EQ(misspelt("// The wrold.\n/* wrold */\n"), (Words{"wrold", "wrold"}));
}

TEST(CommentSpelling, MarkerLinesOnlyUnderProse) {
  ASSERT_TRUE(dictionary());
  const std::vector<std::string> lines{"// Thsi is it:", "// ```", "// Thsi code", "// ```"};
  const auto checker = projectSpellChecker(dictionary(), {}, "", noRepository);
  EXPECT_EQ(spellCheckComments(lines, *checker),
            (std::vector<std::string>{"// Thsi is it:", "// ▲▲▲▲ ← TYPO?", "// ```", "// Thsi code", "// ```"}));
}

// Comment lines of every marker and of block comments are read; a marker
// line takes the line's own marker, a block's decoration under its opener,
// and none follows a block's closer, where it would stand in the code.
TEST(CommentSpelling, ReadsEveryKindOfCommentLine) {
  ASSERT_TRUE(dictionary());
  const auto checker = projectSpellChecker(dictionary(), {}, "", noRepository);
  const struct {
    std::vector<std::string> lines;
    std::vector<std::string> expected;
  } cases[] = {
      {{"# Thsi one"}, {"# Thsi one", "# ▲▲▲▲ ← TYPO?"}},
      {{"-- Thsi one"}, {"-- Thsi one", "-- ▲▲▲▲ ← TYPO?"}},
      {{" * Thsi one"}, {" * Thsi one", " * ▲▲▲▲ ← TYPO?"}},
      {{"/** Thsi one"}, {"/** Thsi one", " *  ▲▲▲▲ ← TYPO?"}},
      {{" * Thsi one. */"}, {" * Thsi one. */"}},
  };
  for (const auto& c : cases) EXPECT_EQ(spellCheckComments(c.lines, *checker), c.expected) << c.lines[0];
  const std::vector<std::string_view> closer{" * Thsi one. */"};
  const auto found = commentSpellingFindings(closer, *checker);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].second.column, 3);
}

// A source file of the language checked run by run as the commands check
// it, each line taken apart by the lexer's facts: the misspelt words with
// their line and column (from 1), and the text with its marker lines.
struct RunsChecked {
  std::vector<std::string> found;
  std::string marked;
};

RunsChecked checkRuns(std::string_view languageName, std::string_view source) {
  const auto checker = projectSpellChecker(dictionary(), {}, "", noRepository);
  const CommentMap comments = lexComments(source, languageForPath(languageName).language);
  RunsChecked out;
  CommentRunWalker walker(source, comments);
  std::size_t copied = 0;
  while (const CommentRun* run = walker.next()) {
    for (const auto& [index, f] : commentSpellingFindings(run->lines, run->facts, *checker)) {
      out.found.push_back(f.word + "@" + std::to_string(run->firstLine + index + 1) + ":" +
                          std::to_string(f.column + 1));
    }
    out.marked += source.substr(copied, run->begin - copied);
    for (const std::string& line : spellCheckComments(run->lines, run->facts, *checker)) out.marked += line + "\n";
    copied = run->end;
  }
  out.marked += source.substr(copied);
  return out;
}

// Every kind of comment line is read, undecorated block lines and
// docstrings too; a marker line takes the line's own prefix, a block's
// decoration under its opener, and never follows a closer.
TEST(CommentSpelling, ReadsEveryLineTheLexerCallsComment) {
  ASSERT_TRUE(dictionary());
  const struct {
    const char* file;
    std::string_view source;
    std::vector<std::string> found;
    std::string_view marked;
  } cases[] = {
      {"a.c", "/* Opens a blok\n   and goes on undecoratd\n   to its end. */\nint x;\n",
       {"blok@1:12", "undecoratd@2:16"},
       "/* Opens a blok\n           ▲▲▲▲ ← TYPO?\n   and goes on undecoratd\n               ▲▲▲▲▲▲▲▲▲▲ ← TYPO?\n"
       "   to its end. */\nint x;\n"},
      {"a.java", "/**\n * Decoratd line.\n * Closes herre. */\nclass A {}\n",
       {"Decoratd@2:4", "herre@3:11"},
       "/**\n * Decoratd line.\n * ▲▲▲▲▲▲▲▲ ← TYPO?\n * Closes herre. */\nclass A {}\n"},
      {"a.py", "def f():\n    \"\"\"Summry line.\n\n    More text in the docstrng.\n    \"\"\"\n    # hash commnt\n    return 1\n",
       {"Summry@2:8", "docstrng@4:22", "commnt@6:12"},
       "def f():\n    \"\"\"Summry line.\n       ▲▲▲▲▲▲ ← TYPO?\n\n    More text in the docstrng.\n"
       "                     ▲▲▲▲▲▲▲▲ ← TYPO?\n    \"\"\"\n    # hash commnt\n    #      ▲▲▲▲▲▲ ← TYPO?\n    return 1\n"},
      {"a.c", "/* One line wrold. */\nint x;\n", {"wrold@1:13"}, "/* One line wrold. */\nint x;\n"},
      {"a.c", "/* Decorated wrold\n * below. */\n", {"wrold@1:14"},
       "/* Decorated wrold\n *           ▲▲▲▲▲ ← TYPO?\n * below. */\n"},
      {"a.c", "// A slash wrold.\nint x;\n", {"wrold@1:12"},
       "// A slash wrold.\n//         ▲▲▲▲▲ ← TYPO?\nint x;\n"},
  };
  for (const auto& c : cases) {
    const RunsChecked checked = checkRuns(c.file, c.source);
    EXPECT_EQ(checked.found, c.found) << c.source;
    EXPECT_EQ(checked.marked, c.marked) << c.source;
  }
}

}  // namespace
}  // namespace brindlewort
