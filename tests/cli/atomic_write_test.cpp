#include "cli/atomic_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli_test_support.h"

namespace brindlewort::cli {
namespace {

using namespace brindlewort::cli_test;

class AtomicWriteTest : public FolderTest {};

TEST_F(AtomicWriteTest, ReplacesContentKeepsModeAndLeavesNoTemporaryFile) {
  fs::path file = folder / "a.swift";
  writeFile(file, "old\n");
  ASSERT_EQ(::chmod(file.c_str(), 0751), 0);
  EXPECT_EQ(writeFileAtomically(file, "new\n"), std::nullopt);
  EXPECT_EQ(readFile(file), "new\n");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0751u);
  EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicWriteTest, FollowsSymbolicLinkAndKeepsIt) {
  fs::path target = folder / "target.c";
  fs::path link = folder / "link.c";
  writeFile(target, "old");
  fs::create_symlink("target.c", link);
  EXPECT_EQ(writeFileAtomically(link, "new"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readFile(target), "new");
  EXPECT_EQ(entries(), 2u);
}

TEST_F(AtomicWriteTest, MissingFileIsAnErrorAndCreatesNothing) {
  std::optional<std::string> error = writeFileAtomically(folder / "missing.c", "x");
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find("No such file"), std::string::npos) << *error;
  EXPECT_EQ(entries(), 0u);
}

TEST_F(AtomicWriteTest, UnwritableFolderLeavesFileAsItWas) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  fs::path file = folder / "a.c";
  writeFile(file, "old");
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  std::optional<std::string> error = writeFileAtomically(file, "new");
  ::chmod(folder.c_str(), 0755);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(readFile(file), "old");
  EXPECT_EQ(entries(), 1u);
}

}  // namespace
}  // namespace brindlewort::cli
