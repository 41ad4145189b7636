#include "cli/lsp/comment_findings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindlewort::cli::lsp {
namespace {

// Where the underline of a passive construction starts and ends, as
// (line, byte) pairs into the document.
struct UnderlineCase {
  const char* name;
  std::string text;
  std::size_t line, start, endLine, end;
};

TEST(CommentFindings, APassiveConstructionIsUnderlinedToItsLastWord) {
  const std::vector<UnderlineCase> cases = {
      {"on one line", "// The value is returned to you.\n", 0, 13, 0, 24},
      {"blanks inside", "// The value is   returned to you.\n", 0, 13, 0, 26},
      {"into the next line", "  // Then the value is\n  // returned to you.\n", 0, 20, 1, 13},
      {"next line of a doc comment", "/// The value is\n/// returned.\n", 0, 14, 1, 12},
      {"after a wide character", "// 🦊 is returned.\n", 0, 8, 0, 19},
  };
  for (const UnderlineCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<CommentFinding> findings = commentFindings(c.text, "", nullptr);
    ASSERT_EQ(findings.size(), 1u);
    const CommentFinding& f = findings[0];
    EXPECT_EQ(f.kind, FindingKind::passiveVoice);
    EXPECT_EQ(f.line, c.line);
    EXPECT_EQ(f.startByte, c.start);
    EXPECT_EQ(f.endLine, c.endLine);
    EXPECT_EQ(f.endByte, c.end);
  }
}

// The editor's languageId, else the file's name, picks the marker; a '#'
// line inside a string is code whatever the language.
TEST(CommentFindings, TheDocumentLanguageComesFromTheLanguageIdOrTheName) {
  const std::string script = "s = \"\"\"\n# It is written here.\n\"\"\"\n  # The value is returned to you.\n";
  const struct {
    const char* name;
    const char* path;
    const char* languageId;
    std::size_t findings;
  } cases[] = {
      {"languageId", "", "python", 1},
      {"file name", "/work/tool.py", "", 1},
      {"neither: the // line rule", "", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<CommentFinding> findings = commentFindings(script, c.path, nullptr, c.languageId);
    ASSERT_EQ(findings.size(), c.findings);
    if (c.findings == 1) {
      EXPECT_EQ(findings[0].line, 3u);
      EXPECT_EQ(findings[0].startByte, 14u);
    }
  }
}

TEST(CommentFindings, ReportsTheGrammarKindsAsked) {
  const std::string text = "// It was added to the the list.\n// We have changed it.\n";
  const struct {
    GrammarRules rules;
    std::vector<FindingKind> kinds;
  } cases[] = {
      {GrammarRules{}, {FindingKind::passiveVoice, FindingKind::repeatedWord}},
      {{false, true, false}, {FindingKind::perfectTense}},
      {{false, false, false}, {}},
  };
  for (const auto& c : cases) {
    std::vector<FindingKind> kinds;
    for (const CommentFinding& f : commentFindings(text, "a.cpp", nullptr, {}, c.rules)) kinds.push_back(f.kind);
    EXPECT_EQ(kinds, c.kinds) << grammarRulesText(c.rules);
  }
}

}  // namespace
}  // namespace brindlewort::cli::lsp
