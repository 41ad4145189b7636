// Listing a project's files and asking git about it, with repositories
// built the way an attacker would: links to devices and FIFOs, planted
// git settings that name commands, ignored and hidden files.

#include "base/source_tree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "base/git_command.h"
#include "base/ignore_rules.h"
#include "base/project_root.h"
#include "base/regular_file.h"
#include "cli_test_support.h"

namespace brindlewort {
namespace {

using namespace brindlewort::cli_test;

class SourceTreeTest : public FolderTest {
 protected:
  fs::path make(const std::string& name, const std::string& content = "int x;\n") const {
    fs::create_directories((folder / name).parent_path());
    return write(name, content);
  }
  std::vector<std::string> namesIn(const SourceTree& tree, const fs::path& root) const {
    std::vector<std::string> names;
    for (const fs::path& file : tree.files) names.push_back(file.lexically_relative(root).string());
    return names;
  }
  void git(const std::string& arguments) const {
    ASSERT_EQ(std::system(("git -C " + shellQuoted(folder.string()) + " " + arguments + " >/dev/null 2>&1").c_str()), 0)
        << arguments;
  }
};

bool isSource(std::string_view path) { return path.ends_with(".c") || path.ends_with(".h"); }

TEST_F(SourceTreeTest, WalkHonoursIgnoresAndTakesOnlyRegularWantedFiles) {
  make("b.c");
  make("a/z.h");
  make("a/notes.txt");
  make("build/gen.c");
  make("a/keep.c");
  make("a/skip.c");
  make(".hidden/h.c");
  make("big.c", std::string(2000, 'x'));
  make(".gitignore", "# generated\nbuild/\n*.c\n!keep.c\n!/b.c\n/a/skip.c\n");
  fs::create_symlink("/dev/zero", folder / "zero.c");
  ASSERT_EQ(::mkfifo((folder / "pipe.c").c_str(), 0600), 0);
  SourceTreeOptions options;
  options.wanted = isSource;
  options.maxFileBytes = 1000;
  const SourceTree tree = listSourceTree(folder, options);
  EXPECT_FALSE(tree.fromGit);
  EXPECT_EQ(namesIn(tree, fs::canonical(folder)), (std::vector<std::string>{"a/keep.c", "a/z.h", "b.c"}));
}

TEST_F(SourceTreeTest, WalkStopsAtTheCapSayingSo) {
  for (const char* name : {"d.c", "a.c", "c.c", "b.c"}) make(name);
  SourceTreeOptions options;
  options.maxFiles = 2;
  const SourceTree tree = listSourceTree(folder, options);
  EXPECT_EQ(namesIn(tree, fs::canonical(folder)), (std::vector<std::string>{"a.c", "b.c"}));
  ASSERT_EQ(tree.notes.size(), 1u);
  EXPECT_NE(tree.notes[0].find("stops at 2 files"), std::string::npos) << tree.notes[0];
}

TEST_F(SourceTreeTest, GitGivesTrackedRegularFilesOfTheFolderOnly) {
  git("init -q .");
  make("src/a.c");
  make("src/sub/b.h");
  make("other.c");
  make("src/untracked.c");
  fs::create_symlink("/dev/zero", folder / "src" / "zero.c");
  git("add src/a.c src/sub/b.h other.c src/zero.c");
  const SourceTree tree = listSourceTree(folder / "src", {});
  EXPECT_TRUE(tree.fromGit);
  EXPECT_EQ(namesIn(tree, fs::canonical(folder)), (std::vector<std::string>{"src/a.c", "src/sub/b.h"}));
}

// A clone carries folders shaped like repositories with settings that name
// commands; none of them may run.
TEST_F(SourceTreeTest, GitRunsNothingTheRepositoryNames) {
  const fs::path marker = folder / "ran";
  const fs::path hook = make("hook.sh", "#!/bin/sh\ntouch " + shellQuoted(marker.string()) + "\n");
  ASSERT_EQ(::chmod(hook.c_str(), 0755), 0);
  fs::create_directories(folder / "repo");
  ASSERT_EQ(std::system(("git init -q " + shellQuoted((folder / "repo").string())).c_str()), 0);
  make("repo/a.c");
  const std::string hookName = shellQuoted(hook.string());
  git("-C repo add a.c");
  git("-C repo config core.fsmonitor " + hookName);
  git("-C repo config core.pager " + hookName);
  // A bare repository inside the work tree, made its own work tree.
  fs::create_directories(folder / "repo" / "bare" / "objects");
  fs::create_directories(folder / "repo" / "bare" / "refs");
  make("repo/bare/HEAD", "ref: refs/heads/main\n");
  make("repo/bare/config", "[core]\n\trepositoryformatversion = 0\n\tbare = false\n\tworktree = .\n\tfsmonitor = " +
                               hook.string() + "\n");
  make("repo/bare/b.c");

  EXPECT_TRUE(listSourceTree(folder / "repo", {}).fromGit);
  const SourceTree bare = listSourceTree(folder / "repo" / "bare", {});
  EXPECT_FALSE(bare.fromGit);
  ASSERT_FALSE(bare.notes.empty());
  EXPECT_NE(bare.notes[0].find("git refuses the repository"), std::string::npos) << bare.notes[0];
  EXPECT_FALSE(findProjectRoot(folder / "repo" / "bare").refusal.empty());
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(SourceTreeTest, ProjectRootIsNeverTheHomeFolderOrTheTop) {
  const fs::path home = fs::canonical(folder);
  make("loose/a.c");
  const char* savedHome = std::getenv("HOME");
  const std::string saved = savedHome ? savedHome : "";
  ::setenv("HOME", home.c_str(), 1);
  EXPECT_TRUE(isTooWideForProject(home));
  EXPECT_TRUE(isTooWideForProject("/"));
  // Started in the home folder: the file's own folder, not all of home.
  EXPECT_EQ(findProjectRoot(home / "loose", home).folder, home / "loose");
  EXPECT_EQ(findProjectRoot(home, home).folder, fs::path());
  EXPECT_EQ(findProjectRoot(home / "loose", "/").folder, home / "loose");
  EXPECT_EQ(findProjectRoot("/", "/").folder, fs::path());
  // Started in a project folder above: that folder.
  make("proj/src/b.c");
  EXPECT_EQ(findProjectRoot(home / "proj" / "src", home / "proj").folder, home / "proj");
  if (savedHome) {
    ::setenv("HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("HOME");
  }
}

TEST_F(SourceTreeTest, KernelFileSystemsAreNeverWalked) {
  const SourceTree tree = listSourceTree("/proc");
  EXPECT_TRUE(tree.files.empty());
  ASSERT_EQ(tree.notes.size(), 1u);
  EXPECT_NE(tree.notes[0].find("nothing is listed there"), std::string::npos) << tree.notes[0];
}

// A hook that runs brindle has git's variables set for its own repository.
TEST_F(SourceTreeTest, GitVariablesOfTheCallerAreNotPassedOn) {
  fs::create_directories(folder / "mine");
  fs::create_directories(folder / "other");
  ASSERT_EQ(std::system(("cd " + shellQuoted(folder.string()) +
                         " && git init -q mine && git init -q other && touch mine/a.c other/b.c && "
                         "git -C mine add a.c && git -C other add b.c")
                            .c_str()),
            0);
  ::setenv("GIT_DIR", (folder / "other" / ".git").c_str(), 1);
  ::setenv("GIT_WORK_TREE", (folder / "other").c_str(), 1);
  const SourceTree tree = listSourceTree(folder / "mine", {});
  ::unsetenv("GIT_DIR");
  ::unsetenv("GIT_WORK_TREE");
  EXPECT_EQ(namesIn(tree, fs::canonical(folder)), (std::vector<std::string>{"mine/a.c"}));
}

TEST(IgnoreRules, PatternsAsGitReadsThem) {
  IgnoreRules rules;
  rules.add("", "*.o\n/top.c\nlogs/\n!keep.o\ndoc/**/gen\n\\#hash\n");
  rules.add("sub", "local.c\n");
  const struct {
    const char* path;
    bool folder, ignored;
  } cases[] = {
      {"a.o", false, true},          {"deep/a.o", false, true},     {"keep.o", false, false},
      {"top.c", false, true},        {"deep/top.c", false, false},  {"logs", true, true},
      {"logs", false, false},        {"doc/gen", true, true},       {"doc/x/y/gen", false, true},
      {"docs/gen", false, false},    {"#hash", false, true},        {"sub/local.c", false, true},
      {"sub/x/local.c", false, true}, {"local.c", false, false},
  };
  for (const auto& c : cases) EXPECT_EQ(rules.ignored(c.path, c.folder), c.ignored) << c.path;
}

TEST_F(SourceTreeTest, OnlyRegularFilesAreReadAndNeverWaitedOn) {
  make("a.c", "abc");
  fs::create_symlink("a.c", folder / "link.c");
  ASSERT_EQ(::mkfifo((folder / "pipe.c").c_str(), 0600), 0);
  EXPECT_EQ(*readRegularFile(folder / "a.c", 3, SymbolicLinks::refuse), "abc");
  EXPECT_EQ(readRegularFile(folder / "a.c", 2, SymbolicLinks::refuse).error(), "is too large");
  EXPECT_EQ(readRegularFile(folder / "link.c", 10, SymbolicLinks::refuse).error(), "is a symbolic link");
  EXPECT_EQ(*readRegularFile(folder / "link.c", 10, SymbolicLinks::follow), "abc");
  EXPECT_EQ(readRegularFile(folder / "pipe.c", 10, SymbolicLinks::refuse).error(), "is not a regular file");
  EXPECT_EQ(readRegularFile("/dev/zero", 10, SymbolicLinks::follow).error(), "is not a regular file");
}

// Outside git, a run started above a project takes the project alone, as
// its git work tree would be taken: the same files give the same
// vocabulary either way. Each layout: its files, where the run starts,
// the folder of the file checked, and the project's root.
TEST_F(SourceTreeTest, ProjectRootOutsideGitIsTheOneGitWouldGive) {
  const struct {
    const char* name;
    std::vector<std::string> files;
    std::string start;
    std::string folder;
    std::string root;
  } layouts[] = {
      {"above a project with a manifest", {"x/proj/CMakeLists.txt", "x/proj/src/a.c", "x/other/b.c"}, "x",
       "x/proj/src", "x/proj"},
      {"above two projects", {"x/one/Cargo.toml", "x/one/src/a.rs", "x/two/go.mod", "x/two/b.go"}, "x", "x/two",
       "x/two"},
      {"the topmost manifest", {"x/CMakeLists.txt", "x/lib/CMakeLists.txt", "x/lib/a.c"}, "x", "x/lib", "x"},
      {"a word list marks the top", {"x/proj/.brindle-words", "x/proj/a/b/c.c"}, "x", "x/proj/a/b", "x/proj"},
      {"in the project", {"x/proj/package.json", "x/proj/src/a.ts"}, "x/proj", "x/proj/src", "x/proj"},
      {"nothing marks a project", {"x/proj/src/a.c"}, "x", "x/proj/src", "x"},
  };
  for (const auto& layout : layouts) {
    fs::remove_all(folder / "x");
    for (const std::string& file : layout.files) make(file);
    const fs::path top = fs::canonical(folder);
    const ProjectRoot outside = findProjectRoot(top / layout.folder, top / layout.start);
    EXPECT_FALSE(outside.gitWorkTree) << layout.name;
    EXPECT_EQ(outside.folder, top / layout.root) << layout.name;
    // The same tree as a git work tree at the project's root.
    git("init -q " + shellQuoted((top / layout.root).string()));
    const ProjectRoot inside = findProjectRoot(top / layout.folder, top / layout.start);
    EXPECT_TRUE(inside.gitWorkTree) << layout.name;
    EXPECT_EQ(inside.folder, outside.folder) << layout.name;
  }
}

}  // namespace
}  // namespace brindlewort
