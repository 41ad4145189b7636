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
      {{"grammar", "--check"}, "code();\n// 😀 ok\n// it is sealed\n" + source, 1,
       "(standard input):3:7: passive voice: \"is sealed\"\n"
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

// A "//" line inside a raw string is code, as wrap sees it: the
// proofreading commands neither mark nor list it, in any output. Inside a
// block comment it is comment text, kept as a line by wrap.
TEST_F(ProofreadingCommands, MarkerLinesInsideStringsAreNotCommentsAndInBlockCommentsAre) {
  const std::string text =
      "auto s = R\"(\n// Thsi raw line was added\n)\";\n"
      "/*\n// Thsi block line was added\n*/\n"
      "// Thsi real line was added\n";
  const fs::path file = write("a.cpp", text);
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"spell", "--check", "--lang", "en_US"},
       file.string() + ":5:4: spelling: \"Thsi\"\n" + file.string() + ":7:4: spelling: \"Thsi\"\n"},
      {{"grammar", "--check"},
       file.string() + ":5:20: passive voice: \"was added\"\n" + file.string() + ":7:19: passive voice: \"was added\"\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back(file.string());
    const Outcome run = brindle(args);
    EXPECT_EQ(run.out, c.out) << c.args[0] << ": " << run.err;
  }
  // The file's name given for standard input picks the language too.
  const Outcome run = brindle({"spell", "--check", "--lang", "en_US", "--stdin-filename", "b.cpp"}, text);
  EXPECT_EQ(run.out, "b.cpp:5:4: spelling: \"Thsi\"\nb.cpp:7:4: spelling: \"Thsi\"\n") << run.err;
  // wrap agrees: none of these lines is re-flowed.
  EXPECT_EQ(brindle({"wrap", "--width", "20", file.string()}).out,
            "auto s = R\"(\n// Thsi raw line was added\n)\";\n/*\n// Thsi block line was added\n*/\n"
            "// Thsi real line\n// was added\n");
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

// A finding ends at a whole participle, and --check fails only for the
// kinds switched on.
TEST_F(ProofreadingCommands, GrammarReportsWholeConstructionsOfTheKindsAsked) {
  const std::string text =
      "// We have sufficient room; it is equivalent.\n// It was tested and we have changed\n// the the file.\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;
  } cases[] = {
      {{"grammar", "--check"}, 1,
       "(standard input):2:7: passive voice: \"was tested\"\n"
       "(standard input):3:4: repeated word: \"the the\"\n"},
      {{"grammar", "--check", "--rules", "all"}, 1,
       "(standard input):2:7: passive voice: \"was tested\"\n"
       "(standard input):2:25: perfect tense: \"have changed\"\n"
       "(standard input):3:4: repeated word: \"the the\"\n"},
      {{"grammar", "--check", "--rules=perfect"}, 1, "(standard input):2:25: perfect tense: \"have changed\"\n"},
      {{"grammar", "--check", "--rules=repeated"}, 1, "(standard input):3:4: repeated word: \"the the\"\n"},
      {{"grammar", "--check", "--rules=none"}, 0, ""},
      {{"grammar", "--rules=passive"}, 0,
       "// We have sufficient room; it is equivalent.\n// It was tested and we have changed\n"
       "//    ▲▲▲▲▲▲▲▲▲▲\n// the the file.\n"},
  };
  for (const auto& c : cases) {
    const Outcome run = brindle(c.args, text);
    EXPECT_EQ(run.status, c.status) << c.args.back() << ": " << run.err;
    EXPECT_EQ(run.out, c.out) << c.args.back();
  }
  // The whole-text scope marks the bare pattern, word starts included.
  EXPECT_EQ(brindle({"grammar", "--whole-text"}, "// We have sufficient room.\n").out,
            "// We have sufficient room.\n//    ▲▲▲▲▲▲▲▲▲▲▲▲▲▲\n");
  const Outcome wrong = brindle({"grammar", "--rules", "passive,typo"}, text);
  EXPECT_EQ(wrong.status, 2);
  EXPECT_NE(wrong.err.find("passive,typo"), std::string::npos) << wrong.err;
}

// The words of a repository's code pass in each of its files, however
// brindle is asked: the file among others, alone, or piped in under its name.
TEST_F(ProofreadingCommands, TheRepositorysVocabularyIsTheSameEveryWay) {
  const fs::path repo = folder / "repo";
  fs::create_directories(repo / "src");
  writeFile(repo / "src" / "widget.cpp", "int frobnicateZorgs(int qwxl);\n");
  const std::string comment = "// Frobnicates the zorgs of a qwxl; mutexes and deques. Thsi wrold.\n";
  writeFile(repo / "src" / "a.cpp", comment);
  ASSERT_EQ(std::system(("git init -q " + repo.string() + " && git -C " + repo.string() + " add src").c_str()), 0);
  const fs::path a = repo / "src" / "a.cpp";
  auto expected = [](const std::string& name) {
    return name + ":1:57: spelling: \"Thsi\"\n" + name + ":1:62: spelling: \"wrold\"\n";
  };

  Outcome run = brindle({"spell", "--check", "--lang", "en_US", a.string(), (repo / "src" / "widget.cpp").string()});
  EXPECT_EQ(run.out, expected(a.string())) << run.err;
  run = brindle({"spell", "--check", "--lang", "en_US", a.string()});
  EXPECT_EQ(run.out, expected(a.string())) << run.err;
  run = brindle({"spell", "--check", "--lang", "en_US", "--stdin-filename", a.string()}, comment);
  EXPECT_EQ(run.out, expected(a.string())) << run.err;
  // Without a name, only the text's own code counts.
  run = brindle({"spell", "--check", "--lang", "en_US"}, comment);
  EXPECT_NE(run.out.find("zorgs"), std::string::npos);
}

TEST_F(ProofreadingCommands, AddWordAppendsToTheProjectList) {
  auto addWord = [&](const std::string& word) {
    const std::string command = "cd " + shellQuoted(folder.string()) + " && XDG_CACHE_HOME=" +
                                shellQuoted((folder / ".cache").string()) + " " + BRINDLE_EXECUTABLE +
                                " spell --add-word " + shellQuoted(word) + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(addWord("Zorgling"), 0);
  EXPECT_EQ(addWord("Zorgling"), 0);  // already there
  EXPECT_EQ(addWord("two words"), 2);
  EXPECT_EQ(readFile(folder / ".brindle-words"), "Zorgling\n");
  const fs::path file = write("a.cpp", "// The zorglings' home.\n");
  const Outcome run = brindle({"spell", "--check", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0) << run.out;
}

TEST_F(ProofreadingCommands, EditorConfigChoosesTheLanguage) {
  write(".editorconfig", "root = true\n[*]\nspelling_language = xx-NOWHERE\n");
  const fs::path file = write("a.cpp", "// Thsi\n");
  Outcome run = brindle({"spell", "--check", file.string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("xx_NOWHERE"), std::string::npos) << run.err;
  run = brindle({"spell", "--check", "--lang", "en_US", file.string()});  // --lang wins
  EXPECT_EQ(run.status, 1);
}

}  // namespace
