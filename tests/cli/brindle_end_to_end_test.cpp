// Runs the built brindle program on temporary files and checks what users
// see: output, messages, exit status and the files left behind.

#include <sys/stat.h>

#include "cli_test_support.h"

namespace {

using namespace brindlewort::cli_test;

class BrindleTest : public BrindleProgramTest {};

const std::string longComment = "// one two three four\n";
const std::string wrappedAt10 = "// one two\n// three\n// four\n";

TEST_F(BrindleTest, StandardInputToStandardOutput) {
  Outcome run = brindle({"wrap", "--width", "10"}, "code();\n" + longComment);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "code();\n" + wrappedAt10);
  EXPECT_EQ(run.err, "");

  run = brindle({"unwrap", "-"}, "code();\n" + wrappedAt10);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "code();\n" + longComment);
}

TEST_F(BrindleTest, WidthZeroMeansNoLimitAndDefaultIs80) {
  const std::string line = "// " + std::string(50, 'a') + " " + std::string(50, 'b') + "\n";
  EXPECT_EQ(brindle({"wrap", "--width=0"}, line).out, line);
  EXPECT_EQ(brindle({"wrap"}, line).out,
            "// " + std::string(50, 'a') + "\n// " + std::string(50, 'b') + "\n");
}

TEST_F(BrindleTest, ScopesDifferOnCodeLines) {
  const std::string text = "foo()\nbar()\r\n// one two three four\r\n";
  EXPECT_EQ(brindle({"wrap", "-w", "10"}, text).out,
            "foo()\nbar()\r\n// one two\r\n// three\r\n// four\r\n");
  EXPECT_EQ(brindle({"wrap", "-w", "10", "--whole-text"}, text).out,
            "foo() bar()\n// one two\n// three\n// four\n");
}

TEST_F(BrindleTest, SeveralFilesPrintInArgumentOrder) {
  std::vector<std::string> args{"wrap", "--width", "10"};
  std::string expected;
  for (int i = 0; i < 12; ++i) {
    std::string name = "f" + std::to_string(i) + ".c";
    // Different sizes, so that files finish out of order.
    std::string body;
    for (int k = 0; k < (i % 3) * 2000 + 1; ++k) body += longComment;
    write(name, "// file " + std::to_string(i) + "\n\n" + body);
    args.push_back((folder / name).string());
    expected += "// file " + std::to_string(i) + "\n\n";
    expected += brindle({"wrap", "--width", "10"}, body).out;
  }
  Outcome run = brindle(args);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, expected);
}

TEST_F(BrindleTest, InPlaceRewritesChangedFilesAtomicallyAndKeepsMode) {
  fs::path changed = write("changed.c", "int x;\n" + longComment);
  fs::path same = write("same.c", "int y;\n// short\n");
  ASSERT_EQ(::chmod(changed.c_str(), 0754), 0);
  // An old modification time shows whether the unchanged file was written.
  struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, same.c_str(), old, 0), 0);

  Outcome run = brindle({"wrap", "-i", "--width", "10", changed.string(), same.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(readFile(changed), "int x;\n" + wrappedAt10);
  struct stat info {};
  ASSERT_EQ(::stat(changed.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0754u);
  ASSERT_EQ(::stat(same.c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, 1000000000);
  EXPECT_EQ(entries(), 2u);  // no temporary file left behind
}

TEST_F(BrindleTest, CheckListsFilesThatWouldChange) {
  fs::path a = write("a.c", longComment);
  fs::path b = write("b.c", "// short\n");
  fs::path c = write("c.c", "x;\n" + longComment);
  Outcome run = brindle({"wrap", "--check", "-w", "10", a.string(), b.string(), c.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, a.string() + "\n" + c.string() + "\n");
  EXPECT_EQ(readFile(a), longComment);  // nothing changed

  run = brindle({"wrap", "--check", "-w", "10", b.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");

  run = brindle({"unwrap", "--check"}, wrappedAt10);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "(standard input)\n");
}

struct BadInput {
  const char* name;
  std::string content;  // unused for the missing file and the folder
  const char* message;
};

TEST_F(BrindleTest, BadInputsAreReportedWhileOthersAreProcessed) {
  fs::create_directory(folder / "folder.c");
  const BadInput cases[] = {
      {"invalid.c", "// ok\n// caf\xC3(\n", "not valid UTF-8 (first bad byte at offset 12)"},
      {"truncated.c", "// ok \xE2\x96", "not valid UTF-8 (first bad byte at offset 6)"},
      {"nul.c", std::string("// a\0b\n", 7), "holds a NUL byte (at offset 4)"},
      {"missing.c", "", "cannot read: No such file or directory"},
      {"folder.c", "", "cannot read: Is a directory"},
  };
  for (const BadInput& c : cases) {
    SCOPED_TRACE(c.name);
    fs::path bad = folder / c.name;
    if (c.content.size()) write(c.name, c.content);
    fs::path good = write("good.c", longComment);

    Outcome run = brindle({"wrap", "-w", "10", bad.string(), good.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, wrappedAt10);
    EXPECT_EQ(run.err, "brindle: " + bad.string() + ": " + c.message +
                           (c.content.size() ? "; not processed\n" : "\n"));

    run = brindle({"wrap", "-i", "-w", "10", bad.string(), good.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(readFile(good), wrappedAt10);
    if (c.content.size()) {
      EXPECT_EQ(readFile(bad), c.content);
    }

    run = brindle({"wrap", "--check", "-w", "10", good.string(), bad.string()});
    EXPECT_EQ(run.status, 2);
    fs::remove(good);
    if (c.content.size()) fs::remove(bad);
  }
}

TEST_F(BrindleTest, InvalidStandardInputIsNamed) {
  Outcome run = brindle({"unwrap"}, "\xFF");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "brindle: (standard input): not valid UTF-8 (first bad byte at offset 0); not processed\n");
}

TEST_F(BrindleTest, FailedWriteToStandardOutputIsAnError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  Outcome run = brindle({"wrap"}, std::string(1 << 16, 'x'), "/dev/full");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("cannot write to standard output"), std::string::npos) << run.err;
}

TEST_F(BrindleTest, HelpAndVersion) {
  Outcome run = brindle({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("wrap"), std::string::npos);
  EXPECT_NE(run.out.find("unwrap"), std::string::npos);

  run = brindle({"wrap", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("--width"), std::string::npos);
  EXPECT_EQ(brindle({"help", "wrap"}).out, run.out);
  EXPECT_EQ(brindle({"unwrap", "--help"}).out.find("--width"), std::string::npos);

  run = brindle({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, std::string("brindle ") + BRINDLE_VERSION + "\n");
}

struct UsageCase {
  std::vector<std::string> args;
  const char* message;
};

TEST_F(BrindleTest, UsageErrorsExitWith2) {
  const UsageCase cases[] = {
      {{}, "Usage: brindle COMMAND"},
      {{"frob"}, "brindle: unknown command 'frob'\nTry 'brindle --help'.\n"},
      {{"--frob"}, "brindle: unknown option '--frob'\n"},
      {{"wrap", "--width", "x"}, "brindle: invalid width 'x'"},
      {{"wrap", "--bogus"}, "Try 'brindle wrap --help'."},
      {{"unwrap", "--width", "9"}, "unknown option '--width'"},
      {{"wrap", "-i"}, "--in-place needs at least one FILE"},
  };
  for (const UsageCase& c : cases) {
    Outcome run = brindle(c.args, longComment);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_EQ(run.out, "") << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

}  // namespace
