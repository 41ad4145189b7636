// Runs `brindle spell` and `brindle grammar` as users do and checks output,
// findings, messages, exit status and the files left behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class ProofreadingCommands : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brindle-proof-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path write(const std::string& name, const std::string& content) const {
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  static std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
  }

  Outcome brindle(std::vector<std::string> args, const std::string& input = "") const {
    const fs::path in = write(".stdin", input);
    const fs::path out = folder / ".stdout";
    const fs::path err = folder / ".stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    args.insert(args.begin(), BRINDLE_EXECUTABLE);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    Outcome run;
    pid_t pid = 0;
    if (posix_spawn(&pid, BRINDLE_EXECUTABLE, &actions, nullptr, argv.data(), environ) == 0) {
      int status = 0;
      ::waitpid(pid, &status, 0);
      run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = read(out);
    run.err = read(err);
    return run;
  }

  fs::path folder;
};

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
  EXPECT_EQ(read(file), "// fine\n  // 😀 wrds and `codde`\n");

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
  EXPECT_EQ(read(file), source);
}

TEST_F(ProofreadingCommands, SpellInPlaceAndVerboseLog) {
  const fs::path file = write("a.swift", "// Thsi\n");
  Outcome run = brindle({"spell", "-i", "--verbose", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(read(file), "// Thsi\n// ▲▲▲▲ ← TYPO?\n");
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
}

}  // namespace
