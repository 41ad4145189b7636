// Runs `brindle spell` and `brindle grammar` as users do and checks output,
// findings, messages, exit status and the files left behind.

#include "cli_test_support.h"

namespace {

using namespace brindlewort::cli_test;

class ProofreadingCommands : public BrindleProgramTest {};

const std::string source =
    "int x = 1; // helo\n"
    "// Thsi is a smple\n"
    "// The value is\n"
    "// computed later.\n";

TEST_F(ProofreadingCommands, SpellAddsMarkerLinesUnderCommentLines) {
  const Outcome run = brindle({"spell", "--lang", "en_US"}, source);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "int x = 1; // helo\n"
            "// Thsi is a smple\n"
            "// ▲▲▲▲      ▲▲▲▲▲ ← TYPOS?\n"
            "// The value is\n"
            "// computed later.\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(ProofreadingCommands, SpellKeepsCarriageReturnLineEnds) {
  EXPECT_EQ(brindle({"spell", "--lang=en_US"}, "// Thsi\r\ncode();\r\n").out,
            "// Thsi\r\n// ▲▲▲▲ ← TYPO?\r\ncode();\r\n");
}

TEST_F(ProofreadingCommands, SpellCheckListsWordsLikeACompiler) {
  const fs::path file = write("a.swift", "// fine\n  // 😀 wrds and `codde`\n");
  Outcome run = brindle({"spell", "--check", "--lang", "en_US", file.string(), "-"}, source);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, file.string() + ":2:8: spelling: \"wrds\"\n"
                     "(standard input):2:4: spelling: \"Thsi\"\n"
                     "(standard input):2:14: spelling: \"smple\"\n");
  EXPECT_EQ(readFile(file), "// fine\n  // 😀 wrds and `codde`\n");

  run = brindle({"spell", "--check", "--lang", "en_US"}, "// All fine here.\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
}

TEST_F(ProofreadingCommands, SpellWithoutDictionarySaysSoAndChangesNothing) {
  const fs::path file = write("a.swift", source);
  const Outcome run = brindle({"spell", "-i", "--lang", "xx_NOWHERE", file.string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("xx_NOWHERE"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(readFile(file), source);
}

TEST_F(ProofreadingCommands, SpellInPlaceAndVerboseLog) {
  const fs::path file = write("a.swift", "// Thsi\n");
  Outcome run = brindle({"spell", "-i", "--verbose", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(readFile(file), "// Thsi\n// ▲▲▲▲ ← TYPO?\n");
  EXPECT_NE(run.err.find("Found 1 spelling errors in text: '"), std::string::npos) << run.err;

  run = brindle({"spell", "--lang", "en_US"}, "// Thsi\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(ProofreadingCommands, SpellRejectsUndecodableInput) {
  const Outcome run = brindle({"spell", "--lang", "en_US"}, "// Thsi \xff\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err, "");
}

TEST_F(ProofreadingCommands, GrammarScopes) {
  const std::string text = "x is sealed\n// it was added\n";
  EXPECT_EQ(brindle({"grammar"}, text).out,
            "x is sealed\n// it was added\n//    ▲▲▲▲▲▲▲▲▲\n");
  EXPECT_EQ(brindle({"grammar", "--whole-text"}, text).out,
            "x is sealed\n  ▲▲▲▲▲▲▲▲▲\n// it was added\n//    ▲▲▲▲▲▲▲▲▲\n");
}

TEST_F(ProofreadingCommands, GrammarMarksConstructionsSplitOverLines) {
  const Outcome run = brindle({"grammar"}, source);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "int x = 1; // helo\n"
            "// Thsi is a smple\n"
            "// The value is\n"
            "//           ▲▲\n"
            "// computed later.\n"
            "// ▲▲▲▲▲▲▲▲\n");
}

TEST_F(ProofreadingCommands, GrammarCheckListsConstructions) {
  const std::string text = "code();\n// 😀 ok\n// it is \"sealed\n" + source;
  const Outcome run = brindle({"grammar", "--check"}, text);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "(standard input):3:7: passive voice: \"is \\\"sealed\"\n"
            "(standard input):6:14: passive voice: \"is computed\"\n");
  EXPECT_EQ(brindle({"grammar", "--check"}, "// All fine.\n").status, 0);
  // Nothing to mark, but the run's line ends would be evened out.
  EXPECT_EQ(brindle({"grammar", "--check"}, "// All fine.\n// Still.\r\n").status, 1);
}

}  // namespace
