// brindle -i against what a file can carry and where it can sit: access
// control lists, extended attributes, owners and modes, files that are not
// regular, files the caller may not write, one file under several names,
// long names, and signals in the middle of a rewrite.

#include <acl/libacl.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <chrono>
#include <set>
#include <thread>

#include "cli_test_support.h"

extern char** environ;

namespace {

using namespace brindlewort::cli_test;

class InPlaceTest : public BrindleProgramTest {
 protected:
  // Runs brindle as the unprivileged user 65534, so that CI, which runs as
  // root, meets files the caller may not write.
  Outcome brindleAsNobody(const std::vector<std::string>& args) const {
    std::vector<std::string> command = {"--reuid=65534", "--regid=65534", "--clear-groups", BRINDLE_EXECUTABLE};
    command.insert(command.end(), args.begin(), args.end());
    return runProgram("/usr/bin/setpriv", folder, command);
  }
};

const std::string longComment = "// one two three four\n";
const std::string wrappedAt10 = "// one two\n// three\n// four\n";

std::string aclText(const fs::path& path) {
  acl_t acl = acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
  if (acl == nullptr) return "none";
  char* text = acl_to_any_text(acl, nullptr, ',', 0);
  std::string result = text ? text : "";
  acl_free(text);
  acl_free(acl);
  return result;
}

TEST_F(InPlaceTest, KeepsAccessControlListAndExtendedAttributes) {
  const fs::path file = write("a.c", longComment);
  acl_t acl = acl_from_text("u::rw-,u:65534:rw-,g::r--,m::rw-,o::---");
  ASSERT_NE(acl, nullptr);
  const bool aclStored = acl_set_file(file.c_str(), ACL_TYPE_ACCESS, acl) == 0;
  acl_free(acl);
  const bool attributeStored = ::setxattr(file.c_str(), "user.brindle-test", "kept", 4, 0) == 0;
  if (!aclStored && !attributeStored) GTEST_SKIP() << "the test folder keeps neither lists nor attributes";
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  const std::string aclBefore = aclText(file);

  const Outcome run = brindle({"wrap", "-i", "-w", "10", file.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readFile(file), wrappedAt10);
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  // The group bits of a file with a list are its mask: no wider rights.
  EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
  if (aclStored) { EXPECT_EQ(aclText(file), aclBefore); }
  if (attributeStored) {
    char value[16] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.brindle-test", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
  }
  if (!aclStored) return;

  // Nor does a file without a list gain the one its folder would give a
  // new file.
  const fs::path plain = write("plain.c", longComment);
  ASSERT_EQ(::chmod(plain.c_str(), 0640), 0);
  const std::string plainAcl = aclText(plain);
  acl_t inherited = acl_from_text("u::rwx,u:65534:rwx,g::r-x,m::rwx,o::r-x");
  ASSERT_EQ(acl_set_file(folder.c_str(), ACL_TYPE_DEFAULT, inherited), 0);
  acl_free(inherited);
  EXPECT_EQ(brindle({"wrap", "-i", "-w", "10", plain.string()}).status, 0);
  EXPECT_EQ(readFile(plain), wrappedAt10);
  EXPECT_EQ(aclText(plain), plainAcl);
}

// A FIFO or a device is refused at once, even without a writer; reading
// one without -i still works.
TEST_F(InPlaceTest, RefusesWhatIsNotARegularFile) {
  const fs::path fifo = folder / "pipe.c";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  for (const fs::path& path : {fifo, fs::path("/dev/null")}) {
    const Outcome run = runProgram("/usr/bin/timeout", folder,
                                   {"20", BRINDLE_EXECUTABLE, "wrap", "-i", "-w", "10", path.string()});
    EXPECT_EQ(run.status, 2) << path;
    EXPECT_EQ(run.err, "brindle: " + path.string() + ": not a regular file; --in-place rewrites only regular files\n");
  }
  EXPECT_TRUE(fs::is_fifo(fifo));

  std::thread writer([&] { writeFile(fifo, longComment); });
  const Outcome read = brindle({"wrap", "-w", "10", fifo.string()});
  writer.join();
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.out, wrappedAt10);
}

// As an editor would: a file the caller could not open for writing is not
// replaced through its folder, and another user's file never becomes the
// caller's.
TEST_F(InPlaceTest, RefusesFilesTheCallerMayNotWriteOrGiveAway) {
  const bool root = ::geteuid() == 0;
  if (root && !fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv to drop privileges";
  ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
  const uid_t nobody = 65534;
  const struct {
    const char* name;
    bool ownedByCaller;
    mode_t mode;
    const char* message;
  } cases[] = {
      {"readonly.c", true, 0444, "cannot be written by you (Permission denied); left unchanged"},
      {"others.c", false, 0644, "cannot be written by you (Permission denied); left unchanged"},
      {"shared.c", false, 0666, "cannot keep the file's owner and group (Operation not permitted); left unchanged"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!root && !c.ownedByCaller) continue;  // needs a second user
    const fs::path file = write(c.name, longComment);
    if (root && c.ownedByCaller) { ASSERT_EQ(::chown(file.c_str(), nobody, nobody), 0); }
    ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    const std::vector<std::string> args = {"wrap", "-i", "-w", "10", file.string()};
    const Outcome run = root ? brindleAsNobody(args) : brindle(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "brindle: " + file.string() + ": " + c.message + "\n");
    EXPECT_EQ(readFile(file), longComment);
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
  }
  EXPECT_EQ(entries(), root ? 3u : 1u);  // no temporary file left behind
}

// Named several times, or through a second hard link, a file is rewritten
// once: a second pass would mark the marker lines of the first.
TEST_F(InPlaceTest, ProcessesEachFileOnce) {
  const std::string passive = "// The file is written by the tool.\n";
  const std::string once = brindle({"grammar"}, passive).out;
  ASSERT_NE(once, passive);
  const fs::path file = write("a.c", passive);
  fs::create_hard_link(file, folder / "b.c");
  const std::vector<std::string> names = {file.string(), file.string(), (folder / "b.c").string(),
                                          (folder / "." / "a.c").string(), file.string(), file.string()};
  std::vector<std::string> args = {"grammar", "-i"};
  args.insert(args.end(), names.begin(), names.end());
  const Outcome run = brindle(args);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readFile(file), once);
}

// The temporary name does not grow with the file's, so a name near the
// limit of 255 bytes can still be rewritten.
TEST_F(InPlaceTest, RewritesFilesWithTheLongestNames) {
  const fs::path file = write(std::string(253, 'n') + ".c", longComment);
  const Outcome run = brindle({"wrap", "-i", "-w", "10", file.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readFile(file), wrappedAt10);
  EXPECT_EQ(entries(), 1u);
}

// Interrupted while it writes, brindle removes its temporary files and ends
// with the signal: every file holds either its old or its new text.
TEST_F(InPlaceTest, SignalsLeaveNoTemporaryFiles) {
  std::string large, wrapped;
  for (int i = 0; i < 150000; ++i) {
    large += longComment;
    wrapped += wrappedAt10;
  }
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    bool caught = false;
    for (int attempt = 0; attempt < 8 && !caught; ++attempt) {
      std::vector<std::string> args = {BRINDLE_EXECUTABLE, "wrap", "-i", "-w", "10"};
      std::set<fs::path> originals;
      for (int k = 0; k < 4; ++k) {
        originals.insert(write("f" + std::to_string(k) + ".c", large));
        args.push_back((folder / ("f" + std::to_string(k) + ".c")).string());
      }
      std::vector<char*> argv;
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      posix_spawnattr_t attributes;
      posix_spawnattr_init(&attributes);
      sigset_t defaults;
      sigemptyset(&defaults);
      sigaddset(&defaults, signal);
      posix_spawnattr_setsigdefault(&attributes, &defaults);
      posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
      pid_t pid = 0;
      ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ), 0);
      posix_spawnattr_destroy(&attributes);
      // Strike as soon as a temporary file shows up.
      const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      bool seen = false;
      while (!seen && std::chrono::steady_clock::now() < giveUp) {
        for (const auto& entry : fs::directory_iterator(folder)) seen = seen || !originals.contains(entry.path());
      }
      ::kill(pid, signal);
      int status = 0;
      ASSERT_EQ(::waitpid(pid, &status, 0), pid);
      caught = WIFSIGNALED(status);
      if (caught) { EXPECT_EQ(WTERMSIG(status), signal); }
      for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_TRUE(originals.contains(entry.path())) << "left behind: " << entry.path();
      }
      for (const fs::path& path : originals) {
        const std::string content = readFile(path);
        EXPECT_TRUE(content == large || content == wrapped) << path;
        fs::remove(path);
      }
    }
    EXPECT_TRUE(caught) << "brindle always finished before the signal";
  }
}

}  // namespace
