// Inputs built to hurt: results that would grow with the square of the
// input, output that cannot be written, byte-order marks, old Mac line ends
// and file names that could pass for messages.

#include "cli_test_support.h"

namespace {

using namespace brindlewort::cli_test;

using HostileInputTest = BrindleProgramTest;

const std::string longComment = "// one two three four\n";
const std::string wrappedAt10 = "// one two\n// three\n// four\n";
const std::string boundMessage = " bytes (16 times the input plus 1 MiB); nothing written\n";

// Every word under a 20,000-column hanging indent: 40 MB from 24 kB. The
// source re-flow leaves a paragraph with so little room alone; the exact
// whole-text form stops at the bound and writes nothing.
TEST_F(HostileInputTest, OutputIsBoundedBySixteenTimesTheInput) {
  std::string hostile = "// " + std::string(20000, ' ') + "- ";
  for (int i = 0; i < 2000; ++i) hostile += "w ";
  hostile += "\n";
  // With just enough room for ten words a line the same indent makes 200 MB
  // from 220 kB; the re-flow stops at the bound.
  std::string roomy = "// " + std::string(20000, ' ') + "- ";
  for (int i = 0; i < 100000; ++i) roomy += "a ";
  roomy += "\n";
  const fs::path file = write("hostile.c", hostile);
  const struct {
    std::vector<std::string> args;
    const std::string& input;
    int status;
    bool kept;  // the text comes back as it was
  } cases[] = {
      {{"wrap", "-w", "80"}, hostile, 0, true},
      {{"wrap", "--fill", "-w", "80"}, hostile, 0, true},
      {{"wrap", "--whole-text", "-w", "80"}, hostile, 2, false},
      {{"wrap", "--whole-text", "-w", "80", "--check"}, hostile, 2, false},
      {{"wrap", "--whole-text", "-w", "80", "-i", file.string()}, hostile, 2, false},
      {{"wrap", "-w", "20030"}, roomy, 2, false},
      {{"wrap", "--fill", "-w", "20030"}, roomy, 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const Outcome run = brindle(c.args, c.input);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.kept ? c.input : "");
    if (!c.kept) {
      EXPECT_TRUE(run.err.starts_with("brindle: ")) << run.err;
      EXPECT_TRUE(run.err.ends_with(boundMessage)) << run.err;
    }
  }
  EXPECT_EQ(readFile(file), hostile);
}

// A lost write is never a success, whichever command made it.
TEST_F(HostileInputTest, FullStandardOutputIsAnErrorForEveryCommand) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::vector<std::string> commands[] = {
      {"--help"},   {"--version"}, {"help"},          {"help", "lint"}, {"wrap", "--help"},
      {"config"},   {"config", "-h"}, {"explain", "--help"}, {"explain", "--stdin-filename", "a.c"},
      {"wrap"},     {"unwrap", "--whole-text"}, {"grammar", "--check"},
  };
  for (const auto& args : commands) {
    SCOPED_TRACE(args.front() + " " + args.back());
    const Outcome run = brindle(args, "// The file is written.\n// ```\n" + longComment, "/dev/full");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("brindle: cannot write to standard output: No space left on device\n"),
              std::string::npos)
        << run.err;
  }
}

// The mark stays in front and the first line is read as the comment it is.
TEST_F(HostileInputTest, ByteOrderMarkIsKeptAndTheFirstLineProcessed) {
  const std::string mark = "\xEF\xBB\xBF";
  EXPECT_EQ(brindle({"wrap", "-w", "10"}, mark + longComment).out, mark + wrappedAt10);
  EXPECT_EQ(brindle({"unwrap"}, mark + "// x\n").out, mark + "// x\n");
  const fs::path file = write("marked.c", mark + longComment);
  EXPECT_EQ(brindle({"wrap", "-i", "-w", "10", file.string()}).status, 0);
  EXPECT_EQ(readFile(file), mark + wrappedAt10);
  EXPECT_EQ(brindle({"explain", "--stdin-filename", "a.c"}, mark + "// ```\n").out, "a.c:1: fence\n");
  // A changed first line is line 1 of the file, the mark not counted.
  EXPECT_EQ(brindle({"wrap", "--check", "-w", "10", "--stdin-filename", "a.c"}, mark + longComment).out,
            "a.c:1: wrap would re-flow this comment paragraph to 10 columns (--width)\n");
  EXPECT_EQ(brindle({"wrap", "--diff", "-w", "10", "--stdin-filename", "a.c"}, mark + longComment).out,
            "--- a.c\n+++ a.c\n@@ -1 +1,3 @@\n-" + longComment + "+// one two\n+// three\n+// four\n");
}

// Lines end at LF; a CR without one would merge a whole old Mac file into
// one line, so such a file is refused. The whole-text form is the engine's
// own and takes it as it is.
TEST_F(HostileInputTest, LoneCarriageReturnsAreRefused) {
  const std::string mac = "// one two three four\r// five\r";
  const std::string refusal =
      "brindle: (standard input): has a carriage return without a line feed (at offset 21); only LF "
      "and CR-LF line ends are read; not processed\n";
  for (const std::vector<std::string>& args : {std::vector<std::string>{"wrap", "-w", "10"}, {"unwrap"},
                                               {"grammar"}, {"wrap", "--check"}}) {
    const Outcome run = brindle(args, mac);
    EXPECT_EQ(run.status, 2) << args.front();
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, refusal);
  }
  EXPECT_EQ(brindle({"wrap", "--whole-text", "-w", "80"}, mac).status, 0);
  EXPECT_EQ(brindle({"wrap", "-w", "10"}, "// one two three four\r\n").out, "// one two\r\n// three\r\n// four\r\n");
}

// A newline in a name would start a line that reads as a message or a
// listing of its own; such names are quoted as a shell reads them back.
TEST_F(HostileInputTest, ControlCharactersInNamesAreQuoted) {
  const fs::path bad = write("x\nbrindle: fake\x1b.c", "\xFF");
  const fs::path changing = write("y\t.c", longComment);
  const std::string folderText = folder.string();
  Outcome run = brindle({"wrap", "-w", "10", bad.string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "brindle: $'" + folderText +
                         "/x\\nbrindle: fake\\x1b.c': not valid UTF-8 (first bad byte at offset 0); not processed\n");
  run = brindle({"wrap", "--check", "-w", "10", changing.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "$'" + folderText + "/y\\t.c':1: wrap would re-flow this comment paragraph to 10 columns (--width)\n");
  run = brindle({"wrap", "--diff", "-w", "10", changing.string()});
  EXPECT_TRUE(run.out.starts_with("--- $'" + folderText + "/y\\t.c'\n")) << run.out;
  const fs::path passive = write("z\r.c", "// It is written.\n");
  run = brindle({"grammar", "--check", passive.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.out.starts_with("$'" + folderText + "/z\\r.c':1:")) << run.out;
}

// A repository's .editorconfig chooses its globs: 2,000 sections that a
// backtracking matcher takes hours over for a name made against them are
// read once per run and cost each file their length times the name's.
TEST_F(HostileInputTest, EditorConfigGlobsCannotStallARun) {
  std::string config = "root = true\n";
  for (int i = 0; i < 2000; ++i) {
    config += "[";
    for (int j = 0; j < 40; ++j) config += "*a";
    config += "*b]\nmax_line_length = 10\n";
  }
  config += "[*.c]\nmax_line_length = 12\n";
  write(".editorconfig", config);
  std::vector<std::string> args = {"wrap", "--check"};
  for (int i = 0; i < 3; ++i) {
    args.push_back(write("b" + std::string(50, 'a') + std::to_string(i) + ".c", "// one two\n").string());
  }
  const Outcome run = brindle(args);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  // The last section still applies.
  write("b.c", "// one two three\n");
  EXPECT_EQ(brindle({"wrap", "--stdin-filename", (folder / "b.c").string()}, "// one two three\n").out,
            "// one two\n// three\n");
}

// A tab width from .editorconfig far beyond any line is capped as the
// option's is, instead of wrapping the column count around: a comment
// indented by a tab then has no room, and stays as it is.
TEST_F(HostileInputTest, HugeTabWidthDoesNotOverflowTheColumns) {
  write(".editorconfig", "root = true\n[*]\ntab_width = 18446744073709551615\n");
  std::string text = "int f() {\n\t//";
  for (int i = 0; i < 30; ++i) text += " word";
  text += "\n\treturn 0;\n}\n";
  const fs::path file = write("tabs.c", text);
  EXPECT_EQ(brindle({"wrap", file.string()}).out, text);
  EXPECT_EQ(brindle({"wrap", "--tab-width", "99999999", file.string()}).out, text);
}

}  // namespace
