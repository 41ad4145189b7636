#include "cli/atomic_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace brindlewort::cli {
namespace {

namespace fs = std::filesystem;

class AtomicWriteTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brindle-atomic-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }

  static std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
  }
  static void create(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
  }

  fs::path folder;
};

TEST_F(AtomicWriteTest, ReplacesContentKeepsModeAndLeavesNoTemporaryFile) {
  fs::path file = folder / "a.swift";
  create(file, "old\n");
  ASSERT_EQ(::chmod(file.c_str(), 0751), 0);
  EXPECT_EQ(writeFileAtomically(file, "new\n"), std::nullopt);
  EXPECT_EQ(contentOf(file), "new\n");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0751u);
  EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicWriteTest, FollowsSymbolicLinkAndKeepsIt) {
  fs::path target = folder / "target.c";
  fs::path link = folder / "link.c";
  create(target, "old");
  fs::create_symlink("target.c", link);
  EXPECT_EQ(writeFileAtomically(link, "new"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contentOf(target), "new");
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
  create(file, "old");
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  std::optional<std::string> error = writeFileAtomically(file, "new");
  ::chmod(folder.c_str(), 0755);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(contentOf(file), "old");
  EXPECT_EQ(entries(), 1u);
}

}  // namespace
}  // namespace brindlewort::cli
