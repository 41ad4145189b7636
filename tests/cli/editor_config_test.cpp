// .editorconfig files: section globs, the file format, and the settings a
// chain of files gives a path, hostile files included.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/core/editor_config.h"
#include "cli/core/editor_config_file.h"
#include "cli/core/editor_config_glob.h"
#include "cli_test_support.h"

namespace {

using brindlewort::cli::editorConfigFor;
using brindlewort::cli::parseEditorConfig;
using brindlewort::cli::SectionGlob;
using namespace brindlewort::cli_test;

TEST(SectionGlob, MatchesAsEditorsDo) {
  struct Case {
    const char* section;
    const char* path;  // below the .editorconfig's folder
    bool matches;
  };
  const std::vector<Case> cases = {
      {"*", "a.c", true},
      {"*", "src/deep/a.c", true},
      {"*.c", "src/a.c", true},
      {"*.c", "a.cc", false},
      {"*.{js,py}", "lib/a.py", true},
      {"*.{js,py}", "a.rb", false},
      {"{a,{b,c}}.x", "c.x", true},
      {"{a,}.x", ".x", true},
      {"?.z", "e.z", true},
      {"?.z", "ab.z", false},
      {"?.z", "\xC3\xA9.z", false},  // '?' is one byte
      {"[ab].r", "b.r", true},
      {"[a-c].r", "c.r", true},
      {"[a-c].r", "d.r", false},
      {"[!a].n", "b.n", true},
      {"[!a].n", "a.n", false},
      {"[xy]].c", "x].c", true},
      {"[a/b].y", "[a/b].y", true},  // a '/' makes the brackets plain characters
      {"{single}.s", "{single}.s", true},
      {"{single}.s", "single.s", false},
      {"{}.e", "{}.e", true},
      {"{a.u", "{a.u", true},  // unpaired braces are plain characters
      {"a\\*.esc", "a*.esc", true},
      {"a\\*.esc", "ab.esc", false},
      {"{1..3}.a", "2.a", true},
      {"{1..3}.a", "+2.a", true},
      {"{1..3}.a", "4.a", false},
      {"{1..3}.a", "02.a", false},
      {"{-3..3}.m", "-1.m", true},
      {"{3..1}.m", "2.m", false},
      {"x{1..3}y{5..6}.d", "x2y5.d", true},
      {"**.dd", "a/b/q.dd", true},
      {"/top.t", "top.t", true},
      {"/top.t", "a/top.t", false},
      {"a/*.w", "a/f.w", true},
      {"a/*.w", "a/b/f.w", false},
      {"a/*.w", "x/a/f.w", false},
      {"a/**/x.y", "a/x.y", true},
      {"a/**/x.y", "a/b/c/x.y", true},
      {"src/**", "src/a/b.c", true},
      {"}{", "}{", false},  // a '}' before its '{' matches nothing
      {"[abc", "a", false},  // nor does a bracket that never closes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SectionGlob(c.section).matches(c.path), c.matches) << c.section << " on " << c.path;
  }
}

// A glob that would make a backtracking matcher run for hours, on a name
// chosen against it; and names longer than any real one.
TEST(SectionGlob, HostileGlobsCostTheirLengthTimesThePath) {
  std::string stars;
  for (int i = 0; i < 2000; ++i) stars += "*a";
  // File names are at most 255 bytes.
  const std::string name = "b" + std::string(250, 'a') + ".c";
  EXPECT_FALSE(SectionGlob(stars + "*b").matches(name));
  EXPECT_TRUE(SectionGlob(stars.substr(0, 400) + "*").matches(name));
  EXPECT_FALSE(SectionGlob("**" + stars + "/**b").matches("x/" + name + "/y"));
  EXPECT_FALSE(SectionGlob(std::string(brindlewort::cli::maxSectionNameBytes + 1, '*')).matches("a"));
  EXPECT_FALSE(SectionGlob(std::string(100, '{') + "a" + std::string(100, '}')).matches("a"));
}

TEST(EditorConfigFile, ReadsSectionsAndProperties) {
  const auto file = parseEditorConfig(
      "\xEF\xBB\xBF"
      "ROOT = TRUE\r\n"
      "; a comment\r\n"
      "  [*.c] ; after the name\r\n"
      "  Tab_Width = 3 ; inline\r\n"
      "key: colon\r\n"
      "a = b=c\r\n"
      "hash = x#y\r\n"
      "spaced = x # y\r\n"
      "empty =\r\n"
      "# root = false\r\n"
      "no value line\r\n"
      "[*.h\r\n"  // no closing bracket: not a section; what follows belongs to none
      "h = 1\r\n");
  EXPECT_TRUE(file.root);
  ASSERT_EQ(file.sections.size(), 1u);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"tab_width", "3"}, {"key", "colon"}, {"a", "b=c"}, {"hash", "x#y"},
      {"spaced", "x"},    {"empty", ""}};
  EXPECT_EQ(file.sections[0].properties, expected);
  EXPECT_TRUE(file.sections[0].glob.matches("src/a.c"));
  // root counts only before the first section.
  EXPECT_FALSE(parseEditorConfig("[*]\nroot = true\n").root);
  EXPECT_FALSE(parseEditorConfig("root = yes\n").root);
}

using EditorConfigLookup = FolderTest;

// Nearer files win, the search stops at root = true, later sections win
// within a file, indent_size stands in for tab_width, and a change to a file
// is seen at once, even one of the same size in the same second.
TEST_F(EditorConfigLookup, NearestFileAndLastSectionWin) {
  fs::create_directories(folder / "outer/inner/deep");
  write(".editorconfig", "root = true\n[*]\nspelling_language = de-de\n");
  write("outer/.editorconfig",
        "root = true\n[*]\nmax_line_length = 100\nindent_size = 4\n[*.c]\nmax_line_length = 90\n");
  write("outer/inner/.editorconfig", "[deep/*.c]\nmax_line_length = off\ntab_width = 2\n");
  const struct {
    const char* path;
    std::optional<std::size_t> width, tab;
  } cases[] = {
      {"outer/a.c", 90, 4},
      {"outer/a.h", 100, 4},
      {"outer/inner/a.c", 90, 4},
      {"outer/inner/deep/a.c", 0, 2},
      {"elsewhere.c", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto settings = editorConfigFor((folder / c.path).string());
    EXPECT_EQ(settings.maxLineLength, c.width) << c.path;
    EXPECT_EQ(settings.tabWidth, c.tab) << c.path;
  }
  EXPECT_EQ(editorConfigFor((folder / "elsewhere.c").string()).spellingLanguage, "de_DE");
  EXPECT_EQ(editorConfigFor((folder / "outer/a.c").string()).spellingLanguage, "");

  write("outer/.editorconfig",
        "root = true\n[*]\nmax_line_length = 100\nindent_size = 4\n[*.c]\nmax_line_length = 70\n");
  EXPECT_EQ(editorConfigFor((folder / "outer/a.c").string()).maxLineLength, 70u);
  fs::remove(folder / "outer/.editorconfig");
  EXPECT_EQ(editorConfigFor((folder / "outer/a.c").string()).maxLineLength, std::nullopt);
}

}  // namespace
