#include "proofreading/grammar_check.h"

#include <gtest/gtest.h>
#include <unicode/regex.h>

#include <memory>
#include <random>

#include "proofreading/passive_voice_search.h"
#include "reflow/comment_lexer.h"
#include "reflow/comment_run_walker.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {
namespace {

using Lines = std::vector<std::string>;

TEST(GrammarCheckLines, InsertsMarkerLines) {
  const struct {
    const char* name;
    Lines input;
    Lines expected;
  } cases[] = {
      {"SingleLine", {"// The file is written by the tool."},
       {"// The file is written by the tool.", "//          ▲▲▲▲▲▲▲▲▲▲"}},
      {"SplitOverContinuation", {"// The value is", "// computed later."},
       {"// The value is", "//           ▲▲", "// computed later.", "// ▲▲▲▲▲▲▲▲"}},
      {"ListItemMarkerBlanked", {"// - Files were added and"},
       {"// - Files were added and", "//         ▲▲▲▲▲▲▲▲▲▲"}},
      {"PunctuationAfterParticipleUnmarked", {"// It was tested."},
       {"// It was tested.", "//    ▲▲▲▲▲▲▲▲▲▲"}},
      {"PerfectTenseAndAdjective", {"// I have walked, am tired"},
       {"// I have walked, am tired", "//   ▲▲▲▲▲▲▲▲▲▲▲  ▲▲▲▲▲▲▲▲"}},
      {"SeveralMatchesOnOneLine", {"// it is written and was added"},
       {"// it is written and was added", "//    ▲▲▲▲▲▲▲▲▲▲     ▲▲▲▲▲▲▲▲▲"}},
      {"CodeLineMarkerWithoutPrefix", {"x is sealed"}, {"x is sealed", "  ▲▲▲▲▲▲▲▲▲"}},
      {"EmptyLineInsideMatchGetsBareMarker", {"x is", "", "sealed"},
       {"x is", "  ▲▲", "", "", "sealed", "▲▲▲▲▲▲"}},
      {"CarriageReturnLines", {"// it is written\r"}, {"// it is written\r", "//    ▲▲▲▲▲▲▲▲▲▲"}},
      // One mark per character, under the characters of the construction.
      {"AfterEmoji", {"// 😀 is written"}, {"// 😀 is written", "//   ▲▲▲▲▲▲▲▲▲▲"}},
      {"AfterCombiningMark", {"// cafe\u0301 is sealed"}, {"// cafe\u0301 is sealed", "//      ▲▲▲▲▲▲▲▲▲"}},
      {"CombiningMarkInsideMatch", {"// is wri\u0301tten"}, {"// is wri\u0301tten", "// ▲▲▲▲▲▲▲▲▲▲"}},
      {"EmojiInParticiple", {"// is 😀ed ok"}, {"// is 😀ed ok", "// ▲▲▲▲▲▲"}},
      {"SplitAfterEmoji", {"// a 😀 value is", "// sealed later"},
       {"// a 😀 value is", "//           ▲▲", "// sealed later", "// ▲▲▲▲▲▲"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(grammarCheckLines(c.input), c.expected) << c.name;
    EXPECT_EQ(grammarCheckLines(std::vector<std::string_view>(c.input.begin(), c.input.end())), c.expected) << c.name;
  }
}

// Matches are handed to lines in one sweep; each must still land on its own.
TEST(GrammarCheckLines, ManyMatchesEachOnItsLine) {
  Lines input, expected;
  for (int i = 0; i < 2000; ++i) {
    input.insert(input.end(), {"// it is written", "code();"});
    expected.insert(expected.end(), {"// it is written", "//    ▲▲▲▲▲▲▲▲▲▲", "code();"});
  }
  EXPECT_EQ(grammarCheckLines(input), expected);
}

TEST(PassiveVoiceFindings, LineColumnAndText) {
  EXPECT_EQ(passiveVoiceFindings(Lines{"int x;", "// The value is", "// computed later.", "// 😀 it was added"}),
            (std::vector<GrammarFinding>{{1, 13, "is computed"}, {3, 8, "was added"}}));
  EXPECT_EQ(passiveVoiceFindings(Lines{"// first", "// it was", "// sealed"}),
            (std::vector<GrammarFinding>{{1, 6, "was sealed"}}));
  EXPECT_TRUE(passiveVoiceFindings(Lines{"// nothing"}).empty());
}

// What a plain search of the whole text with the pattern finds.
std::vector<UnitSpan> searchEverywhere(const icu::UnicodeString& text) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  std::unique_ptr<icu::RegexPattern> pattern(icu::RegexPattern::compile(
      icu::UnicodeString::fromUTF8(passiveVoicePattern), 0, parseError, status));
  std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(text, status));
  std::vector<UnitSpan> found;
  while (matcher->find(status) && U_SUCCESS(status)) {
    found.push_back({matcher->start64(status), matcher->end64(status)});
  }
  return found;
}

// Random texts of words in and out of word boundaries, white space the
// pattern may or may not accept, and characters beyond ASCII: the fast
// search finds what the pattern finds.
TEST(PassiveVoiceMatches, SameAsSearchingEverywhere) {
  const char* const pieces[] = {
      "is",  "was", "were", "be", "been", "have", "are", "am",  "Is",   "This", "written",
      "tested.", "done", "ised", "x_is", "9is", "éis", "—", "😀ed", "e\u0301d", "added",
      " ",   "  ",  "\n",   "\t", "\v",   "\u00A0", "\u2003", "\u0085", "\u200B", "\r\n", "//",
      "ened", "en",  "ed",   "xed", "walkeden", "(is", "is-", "Xen", "de", "n", ".",
  };
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = 1 + round % 24;
    for (int i = 0; i < count; ++i) text += pieces[pick(random)];
    const icu::UnicodeString units = toUtf16(text);
    ASSERT_EQ(passiveVoiceMatches(units), searchEverywhere(units)) << text;
    std::string ascii;
    for (const char c : text) ascii += static_cast<unsigned char>(c) < 0x80 ? c : ' ';
    ASSERT_EQ(passiveVoiceMatchesInAscii(ascii), searchEverywhere(toUtf16(ascii))) << ascii;
  }
}

// The findings a maintainer acts on: each one a whole construction, none
// of the pattern's word starts and cut-off spans.
TEST(GrammarFindings, PassiveAndPerfectMustAndMustNotFind) {
  const GrammarRules all{true, true, true};
  const struct {
    const char* line;
    std::vector<std::pair<std::string, GrammarKind>> found;
  } cases[] = {
      {"// The file is written by the tool.", {{"is written", GrammarKind::passiveVoice}}},
      {"// Files were added.", {{"were added", GrammarKind::passiveVoice}}},
      {"// It was tested.", {{"was tested", GrammarKind::passiveVoice}}},
      {"// It is made here, is done, was built and is kept.",
       {{"is made", GrammarKind::passiveVoice},
        {"is done", GrammarKind::passiveVoice},
        {"was built", GrammarKind::passiveVoice},
        {"is kept", GrammarKind::passiveVoice}}},
      {"// is found, is shown, is set, is put, is run, is thrown",
       {{"is found", GrammarKind::passiveVoice},
        {"is shown", GrammarKind::passiveVoice},
        {"is set", GrammarKind::passiveVoice},
        {"is put", GrammarKind::passiveVoice},
        {"is run", GrammarKind::passiveVoice},
        {"is thrown", GrammarKind::passiveVoice}}},
      {"// It has been added.", {{"has been added", GrammarKind::passiveVoice}}},
      {"// They have been tested.", {{"have been tested", GrammarKind::passiveVoice}}},
      {"// It had been written.", {{"had been written", GrammarKind::passiveVoice}}},
      {"// It is being built.", {{"is being built", GrammarKind::passiveVoice}}},
      {"// It is automatically generated.", {{"is automatically generated", GrammarKind::passiveVoice}}},
      {"// It is not needed.", {{"is not needed", GrammarKind::passiveVoice}}},
      {"// It is auto-generated.", {{"is auto-generated", GrammarKind::passiveVoice}}},
      {"// Is called once.", {{"Is called", GrammarKind::passiveVoice}}},
      {"// We have changed it.", {{"have changed", GrammarKind::perfectTense}}},
      {"// It has grown.", {{"has grown", GrammarKind::perfectTense}}},
      {"// It has been there.", {{"has been", GrammarKind::perfectTense}}},
      // Not a participle, or not a whole one.
      {"// It is equivalent to the old one.", {}},
      {"// We have sufficient room.", {}},
      {"// It is currently the default.", {}},
      {"// They are generally fast.", {}},
      {"// It is then the last.", {}},
      {"// It must be efficiently done.", {{"be efficiently done", GrammarKind::passiveVoice}}},
      {"// The file is open.", {}},
      {"// It is often slow.", {}},
      {"// It is even faster.", {}},
      {"// It is seven bytes.", {}},
      {"// It is a token.", {}},
      {"// They are children of it.", {}},
      {"// is then, is often, is when, is garden, is token, is children", {}},
      {"// There is a need; it is indeed; it is red; they are hundred", {}},
      {"// It is Sweden.", {}},
      {"// This written text.", {}},
      {"// is `used` here and `is used` too", {}},
      {"// was done.", {{"was done", GrammarKind::passiveVoice}}},
      {"// is, written apart by a comma", {}},
      // A licence is quoted, not written by the maintainer.
      {"// distributed under the License is distributed on an \"AS IS\" BASIS,", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<std::string, GrammarKind>> found;
    for (const GrammarFinding& f : grammarFindings(Lines{c.line}, all)) found.emplace_back(f.text, f.kind);
    EXPECT_EQ(found, c.found) << c.line;
  }
}

TEST(GrammarFindings, RepeatedWordsMustAndMustNotFind) {
  const GrammarRules repeatedOnly{false, false, true};
  const struct {
    Lines lines;
    std::vector<std::string> found;
  } cases[] = {
      {{"// Reads the the file."}, {"the the"}},
      {{"// Sorted by by name."}, {"by by"}},
      {{"// Takes a a value."}, {"a a"}},
      {{"// Then we we return."}, {"we we"}},
      {{"// The the start of a sentence."}, {"The the"}},
      {{"// Reads the", "// the file across a line break."}, {"the the"}},
      {{"# Reads the  the file."}, {"the the"}},
      // Legitimate repeats, code and structure.
      {{"// He said that that was fine."}, {}},
      {{"// It had had no effect."}, {}},
      {{"// Version 3 3 times."}, {}},
      {{"// Call `the the` here."}, {}},
      {{"// @param name name of the file"}, {}},
      {{"// the, the"}, {}},
      {{"// Reads the", "", "// the file in another paragraph."}, {}},
      {{"// Example:", "//", "//     the the", "//", "// Done."}, {}},
      {{"// | the | the |", "// |-----|-----|", "// | a   | a   |"}, {}},
      {{"// Fits in an unsigned long long."}, {}},
      {{"// Retries, backs off, etc etc."}, {}},
      // Code, not prose: single letters, capitals inside, case that differs.
      {{"// x x and T T but a a"}, {"a a"}},
      {{"// SYNC SYNC, encodeS encodes, s S, the The"}, {}},
      {{"// With Alice alice and Stephen Moshier moshier@example.org. The the end."}, {"The the"}},
      {{"// Output:", "// true", "// true"}, {}},
      {{"// Reads the", "// the file."}, {"the the"}},
      // A participle written twice is found whether or not its passive is.
      {{"// The work is done done."}, {"done done"}},
      {{"// It has been copied copied here."}, {"copied copied"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> found;
    for (const GrammarFinding& f : grammarFindings(c.lines, repeatedOnly)) {
      EXPECT_EQ(f.kind, GrammarKind::repeatedWord);
      found.push_back(f.text);
    }
    EXPECT_EQ(found, c.found) << c.lines.front();
  }
}

// Block, doc and "#" comments are read as "//" lines are: a word written
// twice across their decoration is found, at its own column.
TEST(GrammarFindings, ReadsEveryLineTheLexerCallsComment) {
  const GrammarRules both{true, false, true};
  const struct {
    const char* file;
    std::string_view source;
    std::vector<std::string> found;  // "text@line:column", from 1
  } cases[] = {
      {"a.java", "/**\n * Truncated on\n * on some platforms.\n */\nclass A {}\n", {"on on@2:14"}},
      {"a.c", "/* The file was written\n   by by hand. */\nint x;\n", {"was written@1:13", "by by@2:4"}},
      {"a.py", "def f():\n    # Parts are not\n    # not simple.\n    return 1\n", {"not not@2:17"}},
      {"a.py", "def f():\n    \"\"\"Reads the\n\n    the file.\"\"\"\n", {}},
      {"a.c", "// Reads the\n// the file.\nint x;\n", {"the the@1:10"}},
  };
  for (const auto& c : cases) {
    const CommentMap comments = lexComments(c.source, languageForPath(c.file).language);
    CommentRunWalker walker(c.source, comments);
    std::vector<std::string> found;
    while (const CommentRun* run = walker.next()) {
      for (const GrammarFinding& f : grammarFindings(run->lines, run->facts, both)) {
        found.push_back(f.text + "@" + std::to_string(run->firstLine + f.line + 1) + ":" +
                        std::to_string(f.column + 1));
      }
    }
    EXPECT_EQ(found, c.found) << c.source;
  }
}

TEST(GrammarFindings, EachKindSwitchesOff) {
  const Lines lines{"// It is written and we have changed the the text."};
  const struct {
    GrammarRules rules;
    std::vector<std::string> found;
  } cases[] = {
      {{true, true, true}, {"is written", "have changed", "the the"}},
      {{true, false, false}, {"is written"}},
      {{false, true, false}, {"have changed"}},
      {{false, false, true}, {"the the"}},
      {{false, false, false}, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> found;
    for (const GrammarFinding& f : grammarFindings(lines, c.rules)) found.push_back(f.text);
    EXPECT_EQ(found, c.found) << grammarRulesText(c.rules);
    EXPECT_EQ(proofreadGrammarLines(lines, c.rules).size(), c.found.empty() ? 1u : 2u) << grammarRulesText(c.rules);
  }
}

TEST(ProofreadGrammarLines, MarksWholeConstructionsUnderTheirCharacters) {
  const struct {
    Lines input;
    Lines expected;
  } cases[] = {
      {{"// It is equivalent; it is written."}, {"// It is equivalent; it is written.", "//                      ▲▲▲▲▲▲▲▲▲▲"}},
      {{"// The value is", "// computed later."}, {"// The value is", "//           ▲▲", "// computed later.", "// ▲▲▲▲▲▲▲▲"}},
      {{"// 😀 it has been added"}, {"// 😀 it has been added", "//      ▲▲▲▲▲▲▲▲▲▲▲▲▲▲"}},
      {{"// café the the"}, {"// café the the", "//      ▲▲▲▲▲▲▲"}},
      {{"// nothing here"}, {"// nothing here"}},
  };
  for (const auto& c : cases) EXPECT_EQ(proofreadGrammarLines(c.input, GrammarRules{}), c.expected) << c.input.front();
}

TEST(GrammarRules, ParsesLists) {
  EXPECT_EQ(parseGrammarRules("passive,repeated"), (GrammarRules{true, false, true}));
  EXPECT_EQ(parseGrammarRules("perfect"), (GrammarRules{false, true, false}));
  EXPECT_EQ(parseGrammarRules("all"), (GrammarRules{true, true, true}));
  EXPECT_EQ(parseGrammarRules("none"), (GrammarRules{false, false, false}));
  EXPECT_EQ(parseGrammarRules(" passive , perfect "), (GrammarRules{true, true, false}));
  EXPECT_EQ(parseGrammarRules("passive,"), std::nullopt);
  EXPECT_EQ(parseGrammarRules("passiv"), std::nullopt);
  EXPECT_EQ(parseGrammarRules(""), std::nullopt);
}

}  // namespace
}  // namespace brindlewort
