// The line-kind tables and what they decide: each table sorted and free of
// duplicates (lookups rely on the order), and line by line what a text reads
// as, whether a word may open a re-flowed line, and how a run of lines is
// split into kinds and paragraphs.

#include <gtest/gtest.h>

#include <random>

#include <algorithm>
#include <string>
#include <vector>

#include "reflow/comment_line_parts.h"
#include "reflow/comment_structure.h"
#include "reflow/comment_vocabulary.h"
#include "reflow/line_kind_tables.h"

namespace brindlewort {
namespace {

TEST(LineKindTables, AreSortedWithoutDuplicates) {
  const struct {
    const char* name;
    std::vector<std::string_view> entries;
  } tables[] = {
      {"directivePrefixes", {directivePrefixes().begin(), directivePrefixes().end()}},
      {"gluedDirectiveWords", {gluedDirectiveWords().begin(), gluedDirectiveWords().end()}},
      {"shoutedTags", {shoutedTags().begin(), shoutedTags().end()}},
      {"namedTags", {namedTags().begin(), namedTags().end()}},
      {"statementWords", {statementWords().begin(), statementWords().end()}},
  };
  for (const auto& table : tables) {
    EXPECT_TRUE(std::is_sorted(table.entries.begin(), table.entries.end()))
        << table.name << ": " << *std::is_sorted_until(table.entries.begin(), table.entries.end());
    EXPECT_EQ(std::adjacent_find(table.entries.begin(), table.entries.end()), table.entries.end())
        << table.name;
  }
  std::vector<std::string_view> rules;
  for (const CodeRule& rule : codeRules()) rules.push_back(rule.name);
  EXPECT_TRUE(std::is_sorted(rules.begin(), rules.end()));
  EXPECT_EQ(std::adjacent_find(rules.begin(), rules.end()), rules.end());
  EXPECT_EQ(std::count(directivePrefixes().begin(), directivePrefixes().end(), "+build"), 1);
}

TEST(LineKindTables, PrefixFromComparesOnlyEntriesWithTheFirstByte) {
  EXPECT_EQ(prefixFrom(directivePrefixes(), "eslint-disable-next-line no-console"), "eslint-disable");
  EXPECT_EQ(prefixFrom(directivePrefixes(), "+build linux"), "+build");
  EXPECT_EQ(prefixFrom(directivePrefixes(), "go:generate stringer"), "go:");
  EXPECT_EQ(prefixFrom(directivePrefixes(), "goes on"), "");
  EXPECT_EQ(prefixFrom(directivePrefixes(), ""), "");
  // The index of first bytes finds what the search of the table finds.
  for (const std::string_view prefix : directivePrefixes()) {
    for (const std::string_view text : {std::string(prefix) + " x", std::string(prefix.substr(1)) + "x"}) {
      EXPECT_EQ(directivePrefixOf(text), prefixFrom(directivePrefixes(), text)) << text;
    }
  }
}

// The quick test that spares prose the code rules never turns away a text
// one of them matches: random texts built from code's own pieces.
TEST(LineKindTables, QuickCodeTestLetsThroughEveryMatch) {
  const char* const pieces[] = {"x", "return", "if", "else", "for", "let", "def", "fn", "a.b", "f", "(",
                                ")", "{", "}", "[", "]", ";", ":", ",", "=", "+=", ":=", "#", "#include",
                                ".", "*/", " ", "  ", "in", "==", "-", "->", "@", "\"", "Value", "while", "\\", "|"};
  std::mt19937 random(20261208);
  std::size_t matched = 0;
  for (int round = 0; round < 200000; ++round) {
    std::string text;
    const std::size_t count = 1 + random() % 7;
    for (std::size_t i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
    // Rules see text from its first non-blank to its last.
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    for (const CodeRule& rule : codeRules()) {
      if (!rule.matches(text)) continue;
      ++matched;
      ASSERT_TRUE(mayReadAsCode(text)) << rule.name << ": " << text;
    }
  }
  EXPECT_GT(matched, 10000u);  // the pieces do make code
}

// One line alone: the kind the run analysis gives it, whether it reads as
// code, and whether its first word may open a re-flowed line.
struct LineCase {
  const char* line;
  LineKind kind;
  bool code;
  bool opens;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.line; }

class LineKinds : public testing::TestWithParam<LineCase> {};

TEST_P(LineKinds, ReadAsExpected) {
  const LineCase& c = GetParam();
  const std::vector<CommentLine> run{splitCommentLine(c.line)};
  bool switchedOff = false;
  EXPECT_EQ(kindName(analyseRun(run, switchedOff).kinds[0]), kindName(c.kind));
  const std::string_view text = run[0].text();
  EXPECT_EQ(readsAsCode(text), c.code);
  EXPECT_EQ(canOpenLine(text.substr(0, text.find(' ')), false), c.opens);
}

const LineCase lineCases[] = {
    {"// plain words of prose", LineKind::prose, false, true},
    {"// tx.rollback()", LineKind::code, true, true},
    {"// for f in $(grep x file |\\", LineKind::code, true, true},
    {"// the path C:\\", LineKind::prose, false, true},
    {"// return errors.New(x)", LineKind::code, true, true},
    {"// return the value", LineKind::prose, false, true},
    {"// ]", LineKind::code, true, true},
    {"// });", LineKind::separator, true, false},
    {"// .optional()", LineKind::code, true, false},
    {"// let d = Tree(items)", LineKind::code, true, true},
    {"// const limit: u32 = 10", LineKind::code, true, true},
    {"// let us see", LineKind::prose, false, true},
    {"// state = dfa.start", LineKind::code, true, true},
    {"// state = the start of it", LineKind::prose, false, true},
    {"// for byte in haystack:", LineKind::code, true, true},
    {"// for each entry in the table, see below:", LineKind::prose, false, true},
    {"// if (x)", LineKind::code, true, true},
    {"// else:", LineKind::code, true, true},
    {"// x = f(y);", LineKind::code, true, true},
    {"// #include <vector>", LineKind::code, true, false},
    {"// biome-ignore lint/style: <explanation>", LineKind::directive, false, false},
    {"// eslint-disable-next-line no-console", LineKind::directive, false, false},
    {"// tslint:disable", LineKind::directive, false, false},
    {"// ktlint-disable", LineKind::directive, false, false},
    {"// @ts-expect-error", LineKind::directive, false, false},
    {"// gofail: var x string", LineKind::directive, false, false},
    {"//go:generate stringer", LineKind::directive, false, false},
    {"// +build linux", LineKind::directive, false, false},
    {"// NOLINT", LineKind::directive, false, false},
    {"// #region Helpers", LineKind::directive, false, false},
    {"// brindle: off", LineKind::switchedOff, false, true},
    {"// REQUIRES: Valid()", LineKind::prose, false, false},
    {"// 2025-09-18: Call X on shutdown.", LineKind::prose, false, false},
    {"// [X] Platform: gamepad support", LineKind::prose, false, false},
    {"// | a | b |", LineKind::table, false, false},
    {"// ------", LineKind::separator, false, false},
    {"// =-=-=", LineKind::separator, false, false},
    {"// ** ** **", LineKind::separator, false, true},
    {"// wait... and see", LineKind::prose, false, true},
    {"// ==== Step ====", LineKind::separator, false, false},
    {"// ## Heading", LineKind::heading, false, false},
    {"// // nested", LineKind::nested, false, false},
};

INSTANTIATE_TEST_SUITE_P(Table, LineKinds, testing::ValuesIn(lineCases));

// A run of lines: the kind of each ('p' prose, 't' table, 'c' code, 'k'
// kept, 'b' blank, 'd' directive) and the first line of each paragraph.
struct RunCase {
  const char* name;
  std::vector<const char*> lines;
  const char* kinds;
  std::vector<std::size_t> paragraphs;
  bool opensFile = false;
  bool wrapping = false;
};

void PrintTo(const RunCase& c, std::ostream* out) { *out << c.name; }

class RunAnalysis : public testing::TestWithParam<RunCase> {};

char letterOf(LineKind kind) {
  switch (kind) {
    case LineKind::prose: return 'p';
    case LineKind::table: return 't';
    case LineKind::code: return 'c';
    case LineKind::kept: return 'k';
    case LineKind::blank: return 'b';
    case LineKind::directive: return 'd';
    default: return '?';
  }
}

TEST_P(RunAnalysis, FindsKindsAndParagraphs) {
  const RunCase& c = GetParam();
  std::vector<CommentLine> run;
  for (const char* line : c.lines) run.push_back(splitCommentLine(line));
  RunContext context;
  context.opensFile = c.opensFile;
  context.deeperLinesContinue = c.wrapping;
  const std::vector<std::string> keep{"@keep"};
  context.keepPrefixes = keep;
  const RunStructure structure = analyseRun(run, context);
  std::string kinds;
  for (const LineKind kind : structure.kinds) kinds += letterOf(kind);
  EXPECT_EQ(kinds, c.kinds);
  std::vector<std::size_t> firsts;
  for (const Paragraph& paragraph : structure.paragraphs) firsts.push_back(paragraph.first);
  EXPECT_EQ(firsts, c.paragraphs);
}

const RunCase runCases[] = {
    {"ProseLinesMakeOneParagraph", {"// one two", "// three four"}, "pp", {0}},
    {"TagStartsAParagraph", {"// Returns the key.", "// REQUIRES: Valid()", "// and more"}, "ppp", {0, 1}},
    {"LoneTagHeadsWhatFollows", {"// SAFETY:", "// the caller holds the lock"}, "pp", {0, 1}},
    {"DatedEntriesAreItems",
     {"//  2025-09-18: Call X", "//              on shutdown.", "//  2025-01-10: Fix Y"}, "ppp", {0, 2}},
    {"VersionDatedEntriesAreItems", {"//   2.27  (2021-07-11) document", "//   2.26  (2020-07-13) fixes"},
     "pp", {0, 1}},
    {"CheckboxesAreItems", {"//  [X] Platform: gamepad", "//  [ ] Docking"}, "pp", {0, 1}},
    {"FieldListIsATable", {"//    sequence: fixed64", "//    count: fixed32"}, "tt", {}},
    {"OneFieldIsProse", {"// Note that x: y holds", "// for every z"}, "pp", {0}},
    {"ValuesLinedUpAfterAColonAreATable",
     {"// Unicode code point:    00010000", "// UTF-16 high surrogate: 110110xx"}, "tt", {}},
    {"TagsBeforeFields", {"// TODO: one", "// FIXME: two"}, "pp", {0, 1}},
    {"LicenceHeaderIsKept",
     {"// Copyright 2020 The Authors.", "// Licensed under the terms below.", "//", "// Package x"},
     "kkbp", {3}, true},
    {"LicenceOnlyAtTheFileStart", {"// Copyright 2020 The Authors.", "// More"}, "pp", {0}},
    {"HeaderWithoutLicenceIsProse", {"// Package x does y.", "// And z."}, "pp", {0}, true},
    {"KeepPrefixKeepsTheLine", {"// one", "// @keep two", "// three"}, "pkp", {0, 2}},
    {"DeeperLineContinuesAnItemWhenWrapping",
     {"/// - Parameter index: A valid index", "///     than startIndex."}, "pp", {0}, false, true},
    {"DeeperLineUnderAnItemIsCodeWhenFilling",
     {"/// - Parameter index: A valid index", "///     than startIndex."}, "pc", {0}},
    {"CodeAfterAnIntroductionStaysCode", {"// - Example:", "//       foo bar"}, "pc", {0}, false, true},
};

INSTANTIATE_TEST_SUITE_P(Runs, RunAnalysis, testing::ValuesIn(runCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(FindTwoSpaces, FindsTheFirstRunAtAnyOffset) {
  for (std::size_t at = 0; at < 20; ++at) {
    for (std::size_t from = 0; from <= at; ++from) {
      std::string text(24, 'x');
      text[at] = text[at + 1] = ' ';
      if (at > 2) text[1] = ' ';  // a single space before the run
      EXPECT_EQ(findTwoSpaces(text, from), at) << at << " from " << from;
    }
  }
  EXPECT_EQ(findTwoSpaces("a b c d e f g h i j k"), std::string_view::npos);
  EXPECT_EQ(findTwoSpaces("abcdefg  "), 7u);
}

}  // namespace
}  // namespace brindlewort
