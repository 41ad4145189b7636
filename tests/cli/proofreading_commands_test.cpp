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

TEST_F(ProofreadingCommands, MarkOrListFindingsInScope) {
  const struct {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string out;
  } cases[] = {
      {{"spell", "--lang", "en_US"}, source, 0,
       "int x = 1; // helo\n// Thsi is a smple\n// ▲▲▲▲      ▲▲▲▲▲ ← TYPOS?\n"
       "// The value is\n// computed later.\n"},
      {{"spell", "--lang=en_US"}, "// Thsi\r\ncode();\r\n", 0, "// Thsi\r\n// ▲▲▲▲ ← TYPO?\r\ncode();\r\n"},
      {{"grammar"}, "x is sealed\n// it was added\n", 0, "x is sealed\n// it was added\n//    ▲▲▲▲▲▲▲▲▲\n"},
      {{"grammar", "--whole-text"}, "x is sealed\n// it was added\n", 0,
       "x is sealed\n  ▲▲▲▲▲▲▲▲▲\n// it was added\n//    ▲▲▲▲▲▲▲▲▲\n"},
      {{"grammar", "--check"}, "code();\n// 😀 ok\n// it is \"sealed\n" + source, 1,
       "(standard input):3:7: passive voice: \"is \\\"sealed\"\n"
       "(standard input):6:14: passive voice: \"is computed\"\n"},
      {{"grammar", "--check"}, "// All fine.\n", 0, ""},
      {{"spell", "--check", "--lang", "en_US"}, "// All fine here.\n", 0, ""},
      // Nothing to mark, but the run's line ends would be evened out.
      {{"grammar", "--check"}, "// All fine.\n// Still.\r\n", 1,
       "(standard input): mixed line ends in a comment run would be made uniform\n"},
  };
  for (const auto& c : cases) {
    const Outcome run = brindle(c.args, c.input);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(ProofreadingCommands, SpellCheckListsWordsOfFilesLikeACompiler) {
  const std::string content = "// fine\n  // 😀 wrds and `codde`\n";
  const fs::path file = write("a.swift", content);
  Outcome run = brindle({"spell", "--check", "--lang", "en_US", file.string(), "-"}, source);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, file.string() + ":2:8: spelling: \"wrds\"\n"
                     "(standard input):2:4: spelling: \"Thsi\"\n"
                     "(standard input):2:14: spelling: \"smple\"\n");
  EXPECT_EQ(readFile(file), content);
}

TEST_F(ProofreadingCommands, SpellInPlace) {
  const fs::path file = write("a.swift", "// Thsi\n");
  // Without a dictionary it says so and changes nothing.
  Outcome run = brindle({"spell", "-i", "--lang", "xx_NOWHERE", file.string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("xx_NOWHERE"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(readFile(file), "// Thsi\n");

  run = brindle({"spell", "-i", "--verbose", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(readFile(file), "// Thsi\n// ▲▲▲▲ ← TYPO?\n");
  EXPECT_NE(run.err.find("Found 1 spelling errors in text: '"), std::string::npos) << run.err;
}

}  // namespace
