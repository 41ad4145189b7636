// Rewriting with kept mode and no leftover file is checked end to end with
// brindle -i; these are the cases it cannot reach.

#include "base/atomic_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli_test_support.h"

namespace brindlewort {
namespace {

using namespace brindlewort::cli_test;

class AtomicWriteTest : public FolderTest {};

TEST_F(AtomicWriteTest, FollowsSymbolicLinkAndKeepsIt) {
  const fs::path target = write("target.c", "old");
  const fs::path link = folder / "link.c";
  fs::create_symlink("target.c", link);
  EXPECT_TRUE(writeFileAtomically(link, "new").ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readFile(target), "new");
  EXPECT_EQ(entries(), 2u);
}

TEST_F(AtomicWriteTest, FailureLeavesFileAsItWas) {
  const fs::path file = write("a.c", "old");
  EXPECT_EQ(writeFileAtomically(folder / "missing.c", "new").error(),
            "cannot inspect the file: No such file or directory");
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const Result<void> written = writeFileAtomically(file, "new");
  ::chmod(folder.c_str(), 0755);
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(readFile(file), "old");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicWriteTest, RefusedLinksAreNeitherFollowedNorReplaced) {
  const fs::path target = write("target.c", "old");
  const fs::path link = folder / "link.c";
  fs::create_symlink("target.c", link);
  EXPECT_EQ(writeFileAtomically(link, "new", SymbolicLinks::refuse).error(), "is a symbolic link; left unchanged");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readFile(target), "old");
  EXPECT_EQ(entries(), 2u);
}

TEST_F(AtomicWriteTest, OwnFilesReplaceWhateverHasTheirName) {
  const fs::path victim = write("victim", "precious");
  const fs::path cache = folder / "cache.words";
  fs::create_symlink(victim, cache);
  ASSERT_TRUE(writeOwnFileAtomically(cache.string(), "words\n", 0600).ok());
  EXPECT_FALSE(fs::is_symlink(cache));
  EXPECT_EQ(readFile(cache), "words\n");
  EXPECT_EQ(readFile(victim), "precious");
  struct stat info {};
  ASSERT_EQ(::stat(cache.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(entries(), 2u);
}

}  // namespace
}  // namespace brindlewort
