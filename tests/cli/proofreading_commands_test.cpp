// Runs `brindle spell` and `brindle grammar` as users do; Enchant with en_US.

#include "cli_test_support.h"

namespace {

using namespace brindlewort::cli_test;

using ProofreadingCommands = BrindleProgramTest;

const std::string source =
    "int x = 1; // helo\n"
    "// Thsi is a smple\n"
    "// The value is\n"
    "// computed later.\n";

TEST_F(ProofreadingCommands, PrintMarkerLinesInScope) {
  const struct {
    std::vector<std::string> args;
    std::string input;
    std::string expected;
  } cases[] = {
      {{"spell", "--lang", "en_US"}, source,
       "int x = 1; // helo\n// Thsi is a smple\n// ▲▲▲▲      ▲▲▲▲▲ ← TYPOS?\n"
       "// The value is\n// computed later.\n"},
      {{"spell", "--lang=en_US"}, "// Thsi\r\ncode();\r\n", "// Thsi\r\n// ▲▲▲▲ ← TYPO?\r\ncode();\r\n"},
      {{"grammar"}, "x is sealed\n// it was added\n", "x is sealed\n// it was added\n//    ▲▲▲▲▲▲▲▲▲\n"},
      {{"grammar", "--whole-text"}, "x is sealed\n// it was added\n",
       "x is sealed\n  ▲▲▲▲▲▲▲▲▲\n// it was added\n//    ▲▲▲▲▲▲▲▲▲\n"},
  };
  for (const auto& c : cases) {
    const Outcome run = brindle(c.args, c.input);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.expected);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(ProofreadingCommands, SpellCheckListsWordsLikeACompiler) {
  const std::string content = "// fine\n  // 😀 wrds and `codde`\n";
  const fs::path file = write("a.swift", content);
  Outcome run = brindle({"spell", "--check", "--lang", "en_US", file.string(), "-"}, source);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, file.string() + ":2:8: spelling: \"wrds\"\n"
                     "(standard input):2:4: spelling: \"Thsi\"\n"
                     "(standard input):2:14: spelling: \"smple\"\n");
  EXPECT_EQ(readFile(file), content);
  EXPECT_EQ(brindle({"spell", "--check", "--lang", "en_US"}, "// All fine here.\n").status, 0);
}

TEST_F(ProofreadingCommands, GrammarCheckListsConstructions) {
  const Outcome run = brindle({"grammar", "--check"}, "code();\n// 😀 ok\n// it is \"sealed\n" + source);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "(standard input):3:7: passive voice: \"is \\\"sealed\"\n"
            "(standard input):6:14: passive voice: \"is computed\"\n");
  EXPECT_EQ(brindle({"grammar", "--check"}, "// All fine.\n").status, 0);
  // Nothing to mark, but the run's line ends would be evened out.
  const Outcome mixed = brindle({"grammar", "--check"}, "// All fine.\n// Still.\r\n");
  EXPECT_EQ(mixed.status, 1);
  EXPECT_EQ(mixed.out, "(standard input): mixed line ends in a comment run would be made uniform\n");
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
  const Outcome run = brindle({"spell", "-i", "--verbose", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(readFile(file), "// Thsi\n// ▲▲▲▲ ← TYPO?\n");
  EXPECT_NE(run.err.find("Found 1 spelling errors in text: '"), std::string::npos) << run.err;
}

}  // namespace
