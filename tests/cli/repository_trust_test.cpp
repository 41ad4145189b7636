// A repository someone clones and opens is data: brindle run on it must not
// run a command it names, write outside it, hang or read without bound.
// Each case is built the way an attacker would build it.

#include <sys/stat.h>

#include "cli_test_support.h"

namespace {

using namespace brindlewort::cli_test;

class RepositoryTrust : public BrindleProgramTest {
 protected:
  // Runs brindle in `cwd` with changes to the environment in env's words
  // ("-u NAME ... NAME=value ..."), bounded in time so that a run that
  // hangs fails.
  Outcome brindleIn(const fs::path& cwd, const std::string& environment, const std::vector<std::string>& args,
                    const std::string& input = "") const {
    const fs::path in = folder / ".stdin", out = folder / ".stdout", err = folder / ".stderr";
    writeFile(in, input);
    const std::string cache = environment.find("XDG_CACHE_HOME") == std::string::npos
                                  ? " XDG_CACHE_HOME=" + shellQuoted((folder / ".cache").string())
                                  : std::string();
    std::string command = "cd " + shellQuoted(cwd.string()) + " && env " + environment + " XDG_CONFIG_HOME=" +
                          shellQuoted((folder / ".config").string()) + cache + " timeout 120 " + BRINDLE_EXECUTABLE;
    for (const std::string& arg : args) command += " " + shellQuoted(arg);
    command += " <" + shellQuoted(in.string()) + " >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string());
    const int status = std::system(command.c_str());
    Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), readFile(out), readFile(err)};
    for (const fs::path& path : {in, out, err}) fs::remove(path);
    return run;
  }
  fs::path make(const std::string& name, const std::string& content) const {
    fs::create_directories((folder / name).parent_path());
    return write(name, content);
  }
  void shell(const std::string& command) const { ASSERT_EQ(std::system(command.c_str()), 0) << command; }
  fs::path gitRepository(const std::string& name) const {
    const fs::path repo = folder / name;
    fs::create_directories(repo);
    EXPECT_EQ(std::system(("git init -q " + shellQuoted(repo.string())).c_str()), 0);
    return repo;
  }
  static std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
  }
};

TEST_F(RepositoryTrust, PlantedFileSystemMonitorNeverRuns) {
  const fs::path marker = folder / "ran";
  const fs::path hook = make("hook.sh", "#!/bin/sh\ntouch " + shellQuoted(marker.string()) + "\n");
  ASSERT_EQ(::chmod(hook.c_str(), 0755), 0);
  const fs::path repo = gitRepository("repo");
  const fs::path file = make("repo/a.c", "// A comment.\nint x;\n");
  shell("git -C " + shellQuoted(repo.string()) + " add a.c");
  shell("git -C " + shellQuoted(repo.string()) + " config core.fsmonitor " + shellQuoted(hook.string()));
  // A folder shaped like a repository, as a clone carries it unchanged.
  make("repo/cloned/HEAD", "ref: refs/heads/main\n");
  fs::create_directories(repo / "cloned" / "objects");
  fs::create_directories(repo / "cloned" / "refs");
  make("repo/cloned/config",
       "[core]\n\trepositoryformatversion = 0\n\tbare = false\n\tworktree = .\n\tfsmonitor = " + hook.string() + "\n");
  const fs::path inner = make("repo/cloned/b.c", "// A comment.\nint y;\n");

  for (const fs::path& checked : {file, inner}) {
    EXPECT_EQ(brindleIn(folder, "", {"spell", "--check", "--lang", "en_US", checked.string()}).status, 0);
    EXPECT_EQ(brindleIn(folder, "", {"spell", "--check", "--lang", "en_US", "--stdin-filename", checked.string()},
                        "// Fine.\n")
                  .status,
              0);
  }
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(RepositoryTrust, AddWordNeverWritesOutsideTheProject) {
  const fs::path outside = make("outside.txt", "mine\n");
  const fs::path repo = gitRepository("repo");
  fs::create_symlink("../outside.txt", repo / ".brindle-words");
  Outcome run = brindleIn(repo, "", {"spell", "--add-word", "Zorgling"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find(".brindle-words is a symbolic link; the word was not added"), std::string::npos) << run.err;
  EXPECT_EQ(readFile(outside), "mine\n");
  // A list above the project is somebody else's: neither read nor written.
  fs::remove(repo / ".brindle-words");
  make(".brindle-words", "Quaxle\n");
  const fs::path file = make("repo/a.c", "// Quaxle here.\n");
  run = brindleIn(repo, "", {"spell", "--check", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("\"Quaxle\""), std::string::npos);
  run = brindleIn(repo, "", {"spell", "--add-word", "Zorgling"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readFile(repo / ".brindle-words"), "Zorgling\n");
  EXPECT_EQ(readFile(folder / ".brindle-words"), "Quaxle\n");
}

TEST_F(RepositoryTrust, ListThatIsNoRegularFileIsIgnoredAndRefused) {
  const fs::path repo = gitRepository("repo");
  fs::create_symlink("/dev/zero", repo / ".brindle-words");
  const fs::path file = make("repo/a.c", "// A comment.\n");
  Outcome run = brindleIn(repo, "", {"spell", "--check", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(count(run.err, ".brindle-words: is a symbolic link; its words are not used"), 1u) << run.err;
  run = brindleIn(repo, "", {"spell", "--add-word", "Zorgling"});
  EXPECT_EQ(run.status, 2);
  fs::remove(repo / ".brindle-words");
  fs::create_directory(repo / ".brindle-words");
  run = brindleIn(repo, "", {"spell", "--add-word", "Zorgling"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("is not a regular file"), std::string::npos) << run.err;
}

TEST_F(RepositoryTrust, AnotherUsersListIsIgnoredAndRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  const fs::path repo = gitRepository("repo");
  const fs::path list = make("repo/.brindle-words", "Quaxle\n");
  ASSERT_EQ(::chown(list.c_str(), 65534, 65534), 0);
  const fs::path file = make("repo/a.c", "// Quaxle here.\n");
  Outcome run = brindleIn(repo, "", {"spell", "--check", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("belongs to another user"), std::string::npos) << run.err;
  run = brindleIn(repo, "", {"spell", "--add-word", "Zorgling"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(readFile(list), "Quaxle\n");
}

TEST_F(RepositoryTrust, ReadOnlyListIsRefused) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
  const fs::path list = make(".brindle-words", "Quaxle\n");
  ASSERT_EQ(::chmod(list.c_str(), 0444), 0);
  const Outcome run = brindleIn(folder, "", {"spell", "--add-word", "Zorgling"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("cannot be written by you"), std::string::npos) << run.err;
  EXPECT_EQ(readFile(list), "Quaxle\n");
}

TEST_F(RepositoryTrust, ConcurrentAddWordsKeepEveryWord) {
  const fs::path project = folder / "project";
  fs::create_directories(project);
  std::string command = "cd " + shellQuoted(project.string()) + " && for i in $(seq 1 20); do XDG_CACHE_HOME=" +
                        shellQuoted((folder / ".cache").string()) + " " + BRINDLE_EXECUTABLE +
                        " spell --add-word Word$i >/dev/null 2>&1 & done; wait";
  shell(command);
  const std::string list = readFile(project / ".brindle-words");
  for (int i = 1; i <= 20; ++i) EXPECT_EQ(count(list, "Word" + std::to_string(i) + "\n"), 1u) << i << list;
  EXPECT_EQ(std::distance(fs::directory_iterator(project), fs::directory_iterator()), 1);
}

TEST_F(RepositoryTrust, TrackedLinksToSpecialFilesAreNotRead) {
  const fs::path repo = gitRepository("repo");
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  fs::create_symlink(folder / "fifo", repo / "in.c");
  fs::create_symlink("/dev/zero", repo / "zero.c");
  const fs::path file = make("repo/a.c", "// A comment.\nint x;\n");
  shell("git -C " + shellQuoted(repo.string()) + " add in.c zero.c a.c");
  const Outcome run = brindleIn(folder, "", {"spell", "--check", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0) << run.err;  // not 124: the FIFO was never opened
}

TEST_F(RepositoryTrust, FolderTreeHonoursGitignoreSourceTypesAndSizes) {
  const fs::path project = folder / "project";
  make("project/.gitignore", "generated/\n");
  make("project/src/generated/gen.c", "int zorbGenerated;\n");
  make("project/src/notes.txt", "int zlorpNotes;\n");
  make("project/src/huge.c", "int blorfHuge;\n" + std::string(9u << 20, ' ') + "\n");
  make("project/lib/lib.c", "int qwzxlFrob;\n");
  const fs::path file = make("project/src/a.c", "// The qwzxl frob, zorb, zlorp and blorf.\n");
  const Outcome run = brindleIn(project, "", {"spell", "--check", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 1) << run.err;
  for (const char* word : {"\"zorb\"", "\"zlorp\"", "\"blorf\""}) EXPECT_EQ(count(run.out, word), 1u) << word;
  EXPECT_EQ(count(run.out, "qwzxl"), 0u) << run.out;  // the project is the folder the run started in
}

TEST_F(RepositoryTrust, RefusedRepositoryIsSaidOnceAndListedLikeGit) {
  const fs::path repo = gitRepository("repo");
  make("repo/.gitignore", "ignored.c\n");
  make("repo/ignored.c", "int zorpIgnored;\n");
  make("repo/lib.c", "int frobQuux;\n");
  const fs::path a = make("repo/a.c", "// A frob of zorps.\n");
  const fs::path b = make("repo/b.c", "// A quux.\n");
  // Git as it answers for a repository owned by somebody else.
  const fs::path bin = folder / "bin";
  fs::create_directories(bin);
  const fs::path fakeGit =
      make("bin/git", "#!/bin/sh\necho \"fatal: detected dubious ownership in repository at '" + repo.string() +
                          "'\" >&2\nexit 128\n");
  ASSERT_EQ(::chmod(fakeGit.c_str(), 0755), 0);
  const Outcome run = brindleIn(folder, "PATH=" + shellQuoted(bin.string()) + ":\"$PATH\"",
                                {"spell", "--check", "--lang", "en_US", a.string(), b.string()});
  EXPECT_EQ(count(run.err, "git refuses the repository at " + repo.string() + " (fatal: detected dubious ownership"),
            1u)
      << run.err;
  EXPECT_EQ(run.out, a.string() + ":1:14: spelling: \"zorps\"\n");
}

TEST_F(RepositoryTrust, CacheInTheTemporaryFolderIsTheUsersOwn) {
  const fs::path repo = gitRepository("repo");
  const fs::path file = make("repo/a.c", "int frobQuux;\n// A quux.\n");
  shell("git -C " + shellQuoted(repo.string()) + " add a.c");
  const fs::path temporary = folder / "tmp", victim = folder / "victim";
  fs::create_directories(temporary);
  fs::create_directories(victim);
  // Another user made the names first, pointing elsewhere.
  const std::string uid = std::to_string(::geteuid());
  fs::create_directory_symlink(victim, temporary / "brindlewort-vocabulary");
  fs::create_directory_symlink(victim, temporary / ("brindlewort-vocabulary-" + uid));
  const std::string environment = "-u HOME -u XDG_CACHE_HOME TMPDIR=" + shellQuoted(temporary.string());
  Outcome run = brindleIn(folder, environment, {"spell", "--check", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(fs::is_empty(victim));
  // Left to itself it makes a folder only its user may enter.
  fs::remove(temporary / ("brindlewort-vocabulary-" + uid));
  run = brindleIn(folder, environment, {"spell", "--check", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  struct stat info {};
  ASSERT_EQ(::lstat((temporary / ("brindlewort-vocabulary-" + uid)).c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(fs::is_empty(victim));
}

TEST_F(RepositoryTrust, CacheCutShortIsRebuilt) {
  const fs::path repo = gitRepository("repo");
  make("repo/lib.c", "int zindleWamp;\n");
  const fs::path file = make("repo/a.c", "// A zindle wamp.\n");
  shell("git -C " + shellQuoted(repo.string()) + " add a.c lib.c");
  ASSERT_EQ(brindleIn(folder, "", {"spell", "--check", "--lang", "en_US", file.string()}).status, 0);
  const fs::path caches = folder / ".cache" / "brindlewort" / "vocabulary";
  ASSERT_EQ(std::distance(fs::directory_iterator(caches), fs::directory_iterator()), 1);
  const fs::path cache = fs::directory_iterator(caches)->path();
  // Cut after the header and the fingerprint, as a full disk leaves it.
  std::string text = readFile(cache);
  text.resize(text.find('\n', text.find('\n') + 1) + 1);
  writeFile(cache, text);
  const Outcome run = brindleIn(folder, "", {"spell", "--check", "--lang", "en_US", file.string()});
  EXPECT_EQ(run.status, 0) << run.out;
}

}  // namespace
