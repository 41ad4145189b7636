// Runs the built brindle program on temporary files and checks what users
// see: output, messages, exit status and the files left behind.

#include <fcntl.h>
#include <sys/stat.h>

#include <sstream>

#include "cli_test_support.h"

namespace {

using namespace brindlewort::cli_test;

using BrindleTest = BrindleProgramTest;

const std::string longComment = "// one two three four\n";
const std::string wrappedAt10 = "// one two\n// three\n// four\n";

TEST_F(BrindleTest, StandardInputToStandardOutput) {
  const std::string a50 = std::string(50, 'a'), b50 = std::string(50, 'b');
  const std::string crlf = "foo()\nbar()\r\n// one two three four\r\n";
  const struct {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string out;
    std::string err = "";
  } cases[] = {
      {{"wrap", "--width", "10"}, "code();\n" + longComment, 0, "code();\n" + wrappedAt10},
      {{"unwrap", "-"}, "code();\n" + wrappedAt10, 0, "code();\n" + longComment},
      {{"wrap", "--width=0"}, "// " + a50 + " " + b50 + "\n", 0, "// " + a50 + " " + b50 + "\n"},
      {{"wrap"}, "// " + a50 + " " + b50 + "\n", 0, "// " + a50 + "\n// " + b50 + "\n"},
      {{"wrap", "-w", "10"}, crlf, 0, "foo()\nbar()\r\n// one two\r\n// three\r\n// four\r\n"},
      {{"wrap", "-w", "10", "--whole-text"}, crlf, 0, "foo() bar()\n// one two\n// three\n// four\n"},
      {{"unwrap", "--check"}, wrappedAt10, 1, "(standard input):1: unwrap would join this comment paragraph into one line\n",
       "brindle: to fix it, run the same command without --check: it prints the fixed text\n"},
      {{"unwrap", "--check"}, longComment, 0, ""},
      {{"unwrap", "--diff"}, wrappedAt10, 1,
       "--- (standard input)\n+++ (standard input)\n@@ -1,3 +1 @@\n-// one two\n-// three\n-// four\n+" +
           longComment,
       "brindle: to fix it, run the same command without --diff: it prints the fixed text\n"},
      {{"unwrap"}, "\xFF", 2, "",
       "brindle: (standard input): not valid UTF-8 (first bad byte at offset 0); not processed\n"},
      // The name given for standard input is the one messages and findings use.
      {{"unwrap", "--stdin-filename", "src/x.c"}, "\xFF", 2, "",
       "brindle: src/x.c: not valid UTF-8 (first bad byte at offset 0); not processed\n"},
      {{"grammar", "--check", "--stdin-filename", "x.c"}, "// It is written.\n", 1,
       "x.c:1:7: passive voice: \"is written\"\n"},
  };
  for (const auto& c : cases) {
    const Outcome run = brindle(c.args, c.input);
    EXPECT_EQ(run.status, c.status) << "case " << &c - cases;
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
  }
}

// Only comments move in real source files: what the file's language says
// is code stays, its .editorconfig sets the width, and the options narrow
// what changes.
TEST_F(BrindleTest, SourceFilesChangeOnlyInTheirComments) {
  const std::string goRaw = "var s = `\n// one two three four\n`\n" + longComment;
  write(".editorconfig",
        "root = true\n[*.rs]\nmax_line_length = 10\n[*.kt]\nkeep_line_prefixes = ~Trace, keep me\n");
  const struct {
    std::vector<std::string> args;
    std::string file;
    std::string content;
    std::string out;
    std::string err = "";
  } cases[] = {
      {{"wrap", "-w", "10"}, "raw.go", goRaw, "var s = `\n// one two three four\n`\n" + wrappedAt10},
      {{"wrap"}, "narrow.rs", longComment, wrappedAt10},
      {{"wrap", "-w", "80"}, "wide.rs", longComment, longComment},
      {{"wrap", "-w", "10"}, "notes.md", longComment, longComment,
       "brindle: skipped 1 file without line comments (text, markup, tables)\n"},
      // Other markers by the extension, and by the shebang of a file without one.
      {{"wrap", "-w", "10"}, "notes.py", "x = '# a b c d e'\n# one two three four\n",
       "x = '# a b c d e'\n# one two\n# three\n# four\n"},
      {{"wrap", "-w", "10"}, "tool", "#!/bin/sh\n# one two three four\n", "#!/bin/sh\n# one two\n# three\n# four\n"},
      {{"wrap", "-w", "10"}, "q.sql", "-- one two three four\n", "-- one two\n-- three\n-- four\n"},
      {{"wrap", "-w", "14", "--lines", "3:3"}, "lines.c", longComment + "int x;\n" + longComment,
       longComment + "int x;\n// one two\n// three four\n"},
      {{"wrap", "-w", "30"}, "fit.c", "// one\n// two three\n", "// one\n// two three\n"},
      {{"wrap", "-w", "30", "--fill"}, "fill.c", "// one\n// two three\n", "// one two three\n"},
      {{"unwrap"}, "items.c", "  // - one\n  // - two\n", "  // - one\n  // - two\n"},
      // The project's own prefixes, literal and case kept, keep their lines.
      {{"unwrap"}, "keep.kt", "// one\n// ~Trace two\n// keep me three\n// four\n",
       "// one\n// ~Trace two\n// keep me three\n// four\n"},
      {{"unwrap"}, "other.kt", "// one\n// ~trace two\n// four\n", "// one ~trace two four\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back(write(c.file, c.content).string());
    const Outcome run = brindle(args);
    EXPECT_EQ(run.status, 0) << c.file;
    EXPECT_EQ(run.out, c.out) << c.file;
    EXPECT_EQ(run.err, c.err) << c.file;
  }
  // A file large enough to be re-flowed in pieces on several cores gives
  // what re-flowing it whole would.
  std::string big, bigWrapped;
  for (int i = 0; i < 100000; ++i) {
    big += "int x;\n// aaaa bbbb cccc dddd\n";
    bigWrapped += "int x;\n// aaaa bbbb\n// cccc dddd\n";
  }
  const Outcome large = brindle({"wrap", "-w", "14", write("big.c", big).string()});
  EXPECT_EQ(large.status, 0);
  EXPECT_TRUE(large.out == bigWrapped);
  // Piped text is read as the file it names.
  EXPECT_EQ(brindle({"wrap", "--stdin-filename", (folder / "piped.rs").string()}, longComment).out,
            wrappedAt10);
  EXPECT_EQ(brindle({"explain", "--stdin-filename", "a.c"}, "// ```\n// x\n// ```\n").out,
            "a.c:1: fence\na.c:2: fence\na.c:3: fence\n");
}

// Unwrap takes no width, but leaves a paragraph that wrap at the shared
// width could not break again.
TEST_F(BrindleTest, UnwrapKeepsParagraphsTooNarrowForTheSharedWidth) {
  const std::string deep = "\t\t// one\n\t\t// two\n";
  ASSERT_EQ(brindle({"config", "max-comment-length", "20"}).status, 0);
  EXPECT_EQ(brindle({"unwrap", "--stdin-filename", "x.c"}, deep).out, deep);
  ASSERT_EQ(brindle({"config", "max-comment-length", "none"}).status, 0);
  EXPECT_EQ(brindle({"unwrap", "--stdin-filename", "x.c"}, deep).out, "\t\t// one two\n");
}

TEST_F(BrindleTest, InPlaceRewritesChangedFilesAtomicallyAndKeepsMode) {
  const fs::path changed = write("changed.c", "int x;\n" + longComment), same = write("same.c", "// short\n");
  ASSERT_EQ(::chmod(changed.c_str(), 0754), 0);
  // An old modification time shows whether the unchanged file was written.
  const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, same.c_str(), old, 0), 0);
  const Outcome run = brindle({"wrap", "-i", "--width", "10", changed.string(), same.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_EQ(readFile(changed), "int x;\n" + wrappedAt10);
  struct stat info {};
  ASSERT_EQ(::stat(changed.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0754u);
  ASSERT_EQ(::stat(same.c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, 1000000000);
  EXPECT_EQ(entries(), 2u);  // no temporary file left behind
}

// FILE:LINE of the first line of each paragraph that would change, in
// argument order, though the first, much larger file finishes last.
TEST_F(BrindleTest, CheckListsParagraphsThatWouldChangeInArgumentOrder) {
  std::string large, expected;
  const fs::path a = folder / "a.c";
  const std::string note = ": wrap would re-flow this comment paragraph to 10 columns (--width)\n";
  for (int i = 0; i < 20000; ++i) {
    large += longComment + "\n";
    expected += a.string() + ":" + std::to_string(2 * i + 1) + note;
  }
  write("a.c", large);
  const fs::path b = write("b.c", "// short\n"), c = write("c.c", "x;\n" + longComment);
  const Outcome run = brindle({"wrap", "--check", "-w", "10", a.string(), b.string(), c.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.out == expected + c.string() + ":2" + note);
  EXPECT_EQ(readFile(a), large);
}

// Each command says where its text would change: wrap names the width and
// where it came from, per file, and so does the fix hint.
TEST_F(BrindleTest, CheckSaysWhereAndWhy) {
  write(".editorconfig", "root = true\n[narrow/*]\nmax_line_length = 10\n");
  fs::create_directory(folder / "narrow");
  const fs::path narrow = write("narrow/n.c", "int x;\n" + longComment);
  const fs::path wide = write("w.c", "// " + std::string(50, 'a') + " " + std::string(50, 'b') + "\n");
  const fs::path items = write("items.c", "x;\n// one\n// two\n\n// three\n");
  const struct {
    std::vector<std::string> args;
    std::string out;
    std::string hint;
  } cases[] = {
      {{"wrap", "--check", narrow.string(), wide.string()},
       narrow.string() + ":2: wrap would re-flow this comment paragraph to 10 columns (.editorconfig)\n" +
           wide.string() + ":1: wrap would re-flow this comment paragraph to 80 columns (the shared setting)\n",
       "to fix the files listed, run: brindle wrap -i FILE... (width 10 columns from .editorconfig; 80 "
       "columns from the shared setting)"},
      {{"wrap", "--check", "--fill", "-w", "30", items.string()},
       items.string() + ":2: fill would re-flow this comment paragraph to 30 columns (--width)\n",
       "to fix the files listed, run: brindle wrap -i --width 30 --fill FILE... (width 30 columns from --width)"},
      {{"wrap", "--check", "--fill", "-w", "0", items.string()},
       items.string() + ":2: fill would join this comment paragraph into one line (no width limit, from --width)\n",
       "to fix the files listed, run: brindle wrap -i --width 0 --fill FILE... (width unlimited from --width)"},
      {{"unwrap", "--check", items.string()},
       items.string() + ":2: unwrap would join this comment paragraph into one line\n",
       "to fix the files listed, run: brindle unwrap -i FILE..."},
      {{"wrap", "--check", "--whole-text", "-w", "10", narrow.string()},
       narrow.string() + ":2: wrap would re-flow this comment paragraph to 10 columns (--width)\n",
       "to fix the files listed, run: brindle wrap -i --width 10 --whole-text FILE... (width 10 columns from "
       "--width)"},
  };
  for (const auto& c : cases) {
    const Outcome run = brindle(c.args);
    EXPECT_EQ(run.status, 1) << c.out;
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "brindle: " + c.hint + "\n");
  }
}

// --diff prints what would change as a unified diff that patch applies, and
// changes nothing.
TEST_F(BrindleTest, DiffShowsTheChangeWithoutMakingIt) {
  std::string code;
  for (int i = 0; i < 8; ++i) code += "f" + std::to_string(i) + "();\n";
  const std::string content = longComment + code + longComment + "// tail";
  const fs::path file = write("d.c", content);
  const Outcome run = brindle({"wrap", "--diff", "-w", "10", file.string(), write("same.c", "x;\n").string()});
  EXPECT_EQ(run.status, 1);
  const std::string name = file.string();
  EXPECT_EQ(run.out, "--- " + name + "\n+++ " + name + "\n" +
                         "@@ -1,4 +1,6 @@\n-// one two three four\n+// one two\n+// three\n+// four\n"
                         " f0();\n f1();\n f2();\n"
                         "@@ -7,5 +9,7 @@\n f5();\n f6();\n f7();\n"
                         "-// one two three four\n+// one two\n+// three\n+// four\n"
                         " // tail\n\\ No newline at end of file\n");
  EXPECT_EQ(run.err, "brindle: to fix the files listed, run: brindle wrap -i --width 10 FILE... "
                     "(width 10 columns from --width)\n");
  EXPECT_EQ(readFile(file), content);
  // The diff is one that patch applies to give the wrapped file.
  writeFile(folder / "d.patch", run.out);
  ASSERT_EQ(std::system(("patch -s " + shellQuoted(name) + " <" + shellQuoted(folder / "d.patch")).c_str()), 0);
  EXPECT_EQ(readFile(file), brindle({"wrap", "-w", "10"}, content).out);
  EXPECT_EQ(brindle({"wrap", "--diff", "-w", "80", file.string()}).status, 0);
}

// Binary files are passed over with one note, so that a whole repository's
// file list can be handed over; a source file that is not text stays an
// error.
TEST_F(BrindleTest, BinaryFilesAreSkippedWithANote) {
  const fs::path png = write("logo.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  const fs::path blob = write("data.bin", "\xFF\xFE\x01 not text\n");
  const fs::path late = write("late.c", std::string(9000, '\n') + std::string("// a\0b\n", 7));
  const fs::path good = write("good.c", longComment);
  const std::string note = "brindle: skipped 2 binary files (--verbose lists them)\n";
  const std::string hint = "brindle: to fix the files listed, run: brindle wrap -i --width 10 FILE... "
                           "(width 10 columns from --width)\n";
  Outcome run = brindle({"wrap", "--check", "-w", "10", png.string(), good.string(), blob.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, good.string() + ":1: wrap would re-flow this comment paragraph to 10 columns (--width)\n");
  EXPECT_EQ(run.err, note + hint);
  run = brindle({"wrap", "--check", "--verbose", "-w", "80", png.string(), blob.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "brindle: " + png.string() + ": binary; skipped\nbrindle: " + blob.string() +
                         ": binary; skipped\nbrindle: skipped 2 binary files\n");
  // Printed as they are, never rewritten.
  run = brindle({"wrap", "-w", "10", png.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out == readFile(png));
  EXPECT_EQ(brindle({"unwrap", "-i", png.string(), blob.string()}).status, 0);
  EXPECT_TRUE(readFile(png) == std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  EXPECT_EQ(brindle({"explain", png.string()}).err, "brindle: skipped 1 binary file\n");
  EXPECT_EQ(brindle({"grammar", "--check", png.string()}).status, 0);
  // A NUL past the first 8 KiB, or bytes that are not UTF-8 in a file of a
  // known language, are still errors; so is such standard input.
  run = brindle({"wrap", "--check", late.string(), write("bad.c", "// caf\xE9\n").string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "brindle: " + late.string() + ": holds a NUL byte (at offset 9004); not processed\n" +
                         "brindle: " + (folder / "bad.c").string() +
                         ": not valid UTF-8 (first bad byte at offset 6); not processed\n");
  EXPECT_EQ(brindle({"wrap"}, std::string("a\0b", 3)).status, 2);
}

// A folder stands for the source files under it, in name order and named
// from the folder as given: outside git the tree without hidden folders and
// what .gitignore lists, in a work tree what git tracks; files of no known
// language are not taken.
TEST_F(BrindleTest, FolderStandsForItsSourceFiles) {
  for (const char* sub : {"tree/sub", "tree/.hidden", "repo"}) fs::create_directories(folder / sub);
  for (const char* name : {"tree/b.go", "tree/sub/a.c", "tree/ignored.c", "tree/.hidden/h.c", "tree/notes.txt",
                           "repo/tracked.c", "repo/untracked.c"})
    write(name, longComment);
  write("tree/logo.png", std::string("\x89PNG\0", 5));
  write("tree/.gitignore", "ignored.c\n");
  const std::string note = ":1: wrap would re-flow this comment paragraph to 10 columns (--width)\n";
  Outcome run = brindle({"wrap", "--check", "-w", "10", (folder / "tree").string()});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, (folder / "tree/b.go").string() + note + (folder / "tree/sub/a.c").string() + note);

  const std::string repo = shellQuoted(folder / "repo");
  ASSERT_EQ(std::system(("git init -q " + repo + " && git -C " + repo + " add tracked.c").c_str()), 0);
  run = brindle({"wrap", "-i", "-w", "10", (folder / "repo").string() + "/"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readFile(folder / "repo/tracked.c"), wrappedAt10);
  EXPECT_EQ(readFile(folder / "repo/untracked.c"), longComment);
  EXPECT_EQ(brindle({"explain", (folder / "tree/.hidden").string()}).status, 0);
}

// A failing check names the command that fixes it, with the options that
// shape the result, and running that command makes the check pass.
TEST_F(BrindleTest, FailingCheckNamesTheCommandThatFixesIt) {
  const struct {
    std::vector<std::string> check;
    std::string hint;
    std::string content;
  } cases[] = {
      {{"wrap", "--check", "-w", "10"}, "brindle wrap -i --width 10", longComment},
      {{"wrap", "--check", "--width=0", "--fill", "--tab-width", "4"}, "brindle wrap -i --width 0 --fill --tab-width 4",
       "// one\n// two\n"},
      {{"wrap", "--lines", "1:1", "-w", "10", "--check"}, "brindle wrap -i --width 10 --lines 1:1", longComment},
      {{"unwrap", "--check"}, "brindle unwrap -i", wrappedAt10},
  };
  for (const auto& c : cases) {
    const fs::path file = write("hinted.c", c.content);
    std::vector<std::string> args = c.check;
    args.push_back(file.string());
    const Outcome run = brindle(args);
    EXPECT_EQ(run.status, 1) << c.hint;
    EXPECT_TRUE(run.err.starts_with("brindle: to fix the files listed, run: " + c.hint + " FILE...")) << run.err;
    std::vector<std::string> fix;
    std::string word;
    std::istringstream words(c.hint.substr(std::string("brindle ").size()));
    while (words >> word) fix.push_back(word);
    fix.push_back(file.string());
    EXPECT_EQ(brindle(fix).status, 0) << c.hint;
    EXPECT_EQ(brindle(args).status, 0) << "still failing after " << c.hint;
  }
  // Nothing to fix, nothing said.
  const Outcome clean = brindle({"wrap", "--check", "-w", "80", write("clean.c", longComment).string()});
  EXPECT_EQ(clean.status, 0);
  EXPECT_EQ(clean.err, "");
}

TEST_F(BrindleTest, BadInputsAreReportedWhileOthersAreProcessed) {
  struct {
    const char* name;
    std::string content;  // none for the missing file
    const char* message;
  } const cases[] = {
      {"invalid.c", "// ok\n// caf\xC3(\n", "not valid UTF-8 (first bad byte at offset 12)"},
      {"truncated.c", "// ok \xE2\x96", "not valid UTF-8 (first bad byte at offset 6)"},
      {"missing.c", "", "cannot read: No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path bad = folder / c.name;
    if (c.content.size()) write(c.name, c.content);
    const fs::path good = write("good.c", longComment);
    Outcome run = brindle({"wrap", "-w", "10", bad.string(), good.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, wrappedAt10);
    EXPECT_EQ(run.err, "brindle: " + bad.string() + ": " + c.message +
                           (c.content.size() ? "; not processed\n" : "\n"));

    run = brindle({"wrap", "-i", "-w", "10", bad.string(), good.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(readFile(good), wrappedAt10);
    if (!c.content.empty()) { EXPECT_EQ(readFile(bad), c.content); }
    run = brindle({"wrap", "--check", "-w", "10", good.string(), bad.string()});
    EXPECT_EQ(run.status, 2);
    fs::remove(good);
    if (c.content.size()) fs::remove(bad);
  }
}

TEST_F(BrindleTest, FailedWriteToStandardOutputIsAnError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const Outcome run = brindle({"wrap"}, std::string(1 << 16, 'x'), "/dev/full");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("cannot write to standard output"), std::string::npos) << run.err;
}

// Help and version go to standard output with status 0; usage errors to
// standard error with status 2 and a pointer to the help.
TEST_F(BrindleTest, HelpVersionAndUsageErrors) {
  const struct {
    std::vector<std::string> args;
    int status;
    std::string part;  // of standard output when 0, else of standard error
  } cases[] = {
      {{"--help"}, 0, "  unwrap      join each comment paragraph into one line\n"},
      {{"help"}, 0, "Run 'brindle COMMAND --help' for the options of a command.\n"},
      {{"wrap", "--help"}, 0, "  -w, --width N     maximum comment length in columns; 0 means no limit;\n"},
      {{"wrap", "--help"}, 0, "                    the shared setting\n                    (default: 80)\n"},
      {{"wrap", "--help"}, 0, "      --stdin-filename NAME\n                    the file standard input"},
      {{"wrap", "--lines", "3"}, 2, "brindle: invalid line range '3'"},
      {{"wrap", "--whole-text", "--fill"}, 2, "--whole-text transforms the whole text"},
      {{"help", "spell"}, 0, "else the user's.\n\n      --lang LANG   "},
      {{"config", "-h"}, 0, "Usage: brindle config\n"},
      {{"--version"}, 0, "brindle "},
      {{}, 2, "Usage: brindle COMMAND"},
      {{"frob"}, 2, "brindle: unknown command 'frob'\nTry 'brindle --help'.\n"},
      {{"--frob"}, 2, "brindle: unknown option '--frob'\n"},
      {{"wrap", "--width", "x"}, 2, "brindle: invalid width 'x'"},
      {{"wrap", "--bogus"}, 2, "Try 'brindle wrap --help'."},
      {{"unwrap", "--width", "9"}, 2, "unknown option '--width'"},
      {{"wrap", "-i"}, 2, "--in-place needs at least one FILE"},
      // Each command's --check says what that command lists.
      {{"grammar", "--help"}, 0, "      --check       change nothing; print FILE:LINE:COLUMN: passive voice:\n"},
      {{"spell", "--help"}, 0, "      --check       change nothing; print FILE:LINE:COLUMN: spelling:\n"},
      {{"wrap", "--help"}, 0, "      --check       change nothing; print FILE:LINE: for the first line of\n"},
      {{"unwrap", "--help"}, 0, "      --diff        change nothing; print a unified diff of what would\n"},
      {{"lint", "--help"}, 0, "      --timeout SECONDS\n                    wait at most SECONDS for the helper"},
      {{"lint", "--timeout", "0"}, 2, "brindle: invalid time-out '0'"},
  };
  for (const auto& c : cases) {
    const Outcome run = brindle(c.args, longComment);
    EXPECT_EQ(run.status, c.status) << c.part;
    EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.part), std::string::npos) << run.out << run.err;
    EXPECT_EQ(c.status == 0 ? run.err : run.out, "") << c.part;
  }
  EXPECT_EQ(brindle({"unwrap", "--help"}).out.find("--width"), std::string::npos);
  // The time-out is an option; the variable is for tests only.
  EXPECT_EQ(brindle({"lint", "--help"}).out.find("BRINDLE_LINT_TIMEOUT"), std::string::npos);
}

}  // namespace
