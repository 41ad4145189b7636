// Lines a maintainer keeps as lines, as seen joined or broken on real
// projects: commented-out code, tool directives, tags, dated entries,
// checkboxes, field lists and columns, licence headers, items whose
// continuation is indented deeper, and the spacing after full stops. Each
// case names the fault; every command must leave such lines starting a line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reflow/comment_lexer.h"
#include "reflow/source_reflow.h"
#include "reflow_case.h"

namespace brindlewort {
namespace {

constexpr ReflowMode wrap = ReflowMode::wrap;
constexpr ReflowMode fill = ReflowMode::fill;
constexpr ReflowMode unwrap = ReflowMode::unwrap;

using Case = ReflowCase;

class KeptLines : public testing::TestWithParam<Case> {};

TEST_P(KeptLines, GiveTheExpectedText) { expectReflowCase(GetParam()); }

const Case cases[] = {
    // Commented-out code, with or without semicolons.
    {"CallsStayLines", fill, 80, "// tx.rollback()\n// return errors.New(x)\n", nullptr},
    {"ClosingBracketAndDeclarationStayLines", unwrap, 80, "//    ]\n//    let d = Tree(items)\n", nullptr},
    {"MemberChainStaysALine", unwrap, 80, "// Build it with\n// .optional()\n", nullptr},
    {"PseudoCodeStaysLines", fill, 80, "//   for byte in haystack:\n//   state = dfa.start\n", nullptr},
    // Tool directives.
    {"DirectivesStayLines", unwrap, 80,
     "// biome-ignore lint/style/useConst: <explanation>\n// tslint:disable-next-line\n"
     "// ktlint-disable\n// eslint-env node\n",
     nullptr},
    // Tags of capitals start a paragraph; their own continuation joins them.
    {"TagIsNotAbsorbed", fill, 80, "// Returns the key at the current position.\n// REQUIRES: Valid()\n",
     nullptr},
    {"TagTakesItsContinuation", fill, 80, "// REQUIRES: the iterator\n// is valid.\n",
     "// REQUIRES: the iterator is valid.\n"},
    {"LoneTagStaysAHeading", unwrap, 80, "// TS_FEEDBACK:\n// Conversion of simd_mask\n// is easier.\n",
     "// TS_FEEDBACK:\n// Conversion of simd_mask is easier.\n"},
    // Dated entries and checkboxes: each an item, continuation under it.
    {"DatedEntriesStayItems", wrap, 40,
     "//  2025-09-18: Call X on shutdown and more words here.\n//  2025-01-10: Short.\n",
     "//  2025-09-18: Call X on shutdown and\n//              more words here.\n//  2025-01-10: Short.\n"},
    {"VersionDatedEntriesStayItems", fill, 50,
     "//   1.12 (2018-01-29) user can change the key type, fix redo\n//   1.11 (2017-03-03) fix\n",
     "//   1.12 (2018-01-29) user can change the key\n//                     type, fix redo\n"
     "//   1.11 (2017-03-03) fix\n"},
    {"CheckboxesStayItems", wrap, 40,
     "//  [X] Platform: gamepad support for every backend\n//  [ ] Docking\n",
     "//  [X] Platform: gamepad support for\n//      every backend\n//  [ ] Docking\n"},
    // Field lists and columns are tables.
    {"FieldListIsKept", unwrap, 80, "//    sequence: fixed64\n//    count: fixed32\n", nullptr},
    {"ColumnsAfterColonsAreKept", wrap, 40,
     "// Unicode code point:    00010000 + xxxxyyyy (21 bits)\n"
     "// UTF-16 high surrogate: 110110xxxxxxxxxx (10 bits)\n",
     nullptr},
    // A reStructuredText literal block: the lines indented under "::".
    {"LiteralBlockAfterTwoColonsIsKept", unwrap, 80,
     "# This module sets the following variables::\n#\n#   FOO_FOUND:       whether found\n"
     "#   FOO_<c>_FOUND:  whether found <c>\n#\n# More text\n# here.\n",
     "# This module sets the following variables::\n#\n#   FOO_FOUND:       whether found\n"
     "#   FOO_<c>_FOUND:  whether found <c>\n#\n# More text here.\n",
     "x.py"},
    // A licence header is kept byte for byte; the comment after it is not.
    {"LicenceHeaderIsKept", fill, 40,
     "// Copyright 2020 The Authors. All rights reserved.\n"
     "// Use of this source code is governed by a BSD-style license.\n//\n"
     "// Package x re-flows this paragraph as it is\n// too long.\n\npackage x\n",
     "// Copyright 2020 The Authors. All rights reserved.\n"
     "// Use of this source code is governed by a BSD-style license.\n//\n"
     "// Package x re-flows this paragraph as\n// it is too long.\n\npackage x\n"},
    {"LicenceHeaderIsKeptByWrap", wrap, 40,
     "\n// Copyright (c) 2015-2020 The Authors and the contributors\n", nullptr},
    // An item whose continuation is indented deeper: no staircase.
    {"DeeperContinuationWrapsWithTheItem", wrap, 50,
     "/// - Parameter index: A valid index of the collection that must be greater\n"
     "///     than startIndex.\n",
     "/// - Parameter index: A valid index of the\n///     collection that must be greater than\n"
     "///     startIndex.\n"},
    {"NoLoneWordAboveADeeperLine", wrap, 40,
     "// To make the implementation private to it:\n//       #define STATIC\n",
     "// To make the implementation private\n// to it:\n//       #define STATIC\n"},
    {"FillLeavesNoLoneWordAboveADeeperLine", fill, 40,
     "// To make the implementation\n// private to it:\n//       #define STATIC\n",
     "// To make the implementation private\n// to it:\n//       #define STATIC\n"},
    // A lone word moving down to a last line never makes it read as code.
    {"StepAvoidedWithoutMakingCode", fill, 50,
     "// On Windows the Win32 API function TerminateProcess()\n//  is called.\n",
     "// On Windows the Win32\n// API function TerminateProcess()\n//  is called.\n"},
    // Values one a line are a list; fields may name several keys at once.
    {"RowBetweenTableRowsIsKept", unwrap, 80,
     "// -q*                  compiler args for the IBM compiler\n"
     "// -m*, -t[45]*, -txscale* architecture-specific flags for GCC\n"
     "// -F/path              path to uninstalled frameworks\n",
     nullptr},
    // Joined, the first line would read as a field beside the fields below.
    {"ParagraphThatJoinedWouldBeAFieldStays", unwrap, 100,
     "// Arguments: title is the title of the window,\n// prompt is a text.\n// default: default value\n"
     "// minval: minimum value\n",
     nullptr},
    {"ValuesAtOneColumnAreATable", fill, 80,
     "// Created On Node  : glaurung.example.com\n// Last Modified By : Manoj Srivastava\n"
     "// Last Modified On : Mon Feb 25 12:06:54 2002\n// Last Machine Used: glaurung.example.com\n",
     nullptr},
    {"ColumnOfValuesIsKept", unwrap, 80, "// 1996.07.12\n// 3.2.pl0\n// 3.1.1.6\n// 2g6\n// 11g\n", nullptr},
    {"FieldsWithSeveralKeysAreKept", unwrap, 80,
     "// common: a list of names in both.\n// left_only, right_only: names only in one.\n"
     "// common_dirs: subdirectories in both.\n",
     nullptr},
    // Sentence spacing follows the paragraph.
    {"TwoSpacesThroughoutStayTwo", fill, 80, "// One sentence.  Another one\n// follows.  And a third.\n",
     "// One sentence.  Another one follows.  And a third.\n"},
    {"TwoSpacesStayTwoWhenJoined", unwrap, 80, "// One sentence.\n// Another one follows.  And a third.\n",
     "// One sentence.  Another one follows.  And a third.\n"},
    {"MixedSpacingBecomesOne", fill, 80, "// One.  Two. Three\n// four.  Five\n", "// One. Two. Three four. Five\n"},
    {"MixedSpacingBecomesOneWhenJoined", unwrap, 80, "// One.  Two. Three\n// four.  Five\n",
     "// One. Two. Three four. Five\n"},
};

INSTANTIATE_TEST_SUITE_P(Faults, KeptLines, testing::ValuesIn(cases),
                         [](const auto& param) { return std::string(param.param.name); });

// Joining a paragraph and filling it again gives the filled paragraph,
// whichever spacing it uses.
TEST(SentenceSpacing, UnwrapThenFillGivesTheFill) {
  const char* texts[] = {
      "// One sentence.  Another one\n// follows.  And a third one that is long enough to wrap.\n",
      "// One sentence. Another one\n// follows.  And a third one that is long enough to wrap.\n",
      "// e.g. this one.  Then\n// More.  Words to fill the line with until it wraps again.\n",
  };
  for (const char* text : texts) {
    for (const std::size_t width : {30u, 40u, 80u}) {
      const std::string filled = reflow(text, fill, width);
      EXPECT_EQ(reflow(reflow(text, unwrap, width), fill, width), filled) << text << width;
      EXPECT_EQ(reflow(reflow(filled, unwrap, width), fill, width), filled) << text << width;
    }
  }
}

TEST(KeepPrefixes, KeepTheirLinesUnderEveryCommand) {
  const std::string text = "// one two three\n// ~keep this line as it is\n// four five six\n";
  for (const ReflowMode mode : {wrap, fill, unwrap}) {
    EXPECT_EQ(reflow(text, mode, 20, {"~keep"}), mode == unwrap ? text : reflow(text, mode, 20, {"~keep"}));
    const std::string out = reflow(text, mode, 20, {"~keep"});
    EXPECT_NE(out.find("\n// ~keep this line as it is\n"), std::string::npos) << out;
  }
  // Without the prefix, the line joins its neighbours.
  EXPECT_EQ(reflow(text, unwrap, 80), "// one two three ~keep this line as it is four five six\n");
  // A filled line never opens with a kept prefix.
  EXPECT_EQ(reflow("// one two ~keep it\n", fill, 12, {"~keep"}), "// one two ~keep it\n");
}

TEST(LicenceHeader, OnlyWhereTheTextOpensTheFile) {
  const std::string text = "// Copyright 2020 The Authors, all\n// rights reserved.\n";
  SourceReflowOptions options;
  options.settings.mode = unwrap;
  EXPECT_EQ(reflowSource(text, lexComments(text, nullptr), options), text);
  options.textOpensFile = false;
  EXPECT_EQ(reflowSource(text, lexComments(text, nullptr), options),
            "// Copyright 2020 The Authors, all rights reserved.\n");
}

}  // namespace
}  // namespace brindlewort
