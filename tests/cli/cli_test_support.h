#pragma once

// Shared by the command-line tests: a temporary folder per test, whole-file
// reads and writes, and running the built brindle.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mixed_source.h"

namespace brindlewort::cli_test {

namespace fs = std::filesystem;
using test::mixedSource;

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// Exit status (128 + signal when killed) and the two output streams.
struct Outcome {
  int status;
  std::string out, err;
};

inline std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs the program on `input` with a settings folder and a cache of its own
// in `folder`, so the user's stored comment length cannot change the
// default width and no vocabulary cache outlives the test.
// Standard output goes to `outputPath` if given, else into the outcome.
inline Outcome runProgram(const fs::path& program, const fs::path& folder,
                          const std::vector<std::string>& args, const std::string& input = "",
                          const fs::path& outputPath = {}) {
  const fs::path in = folder / ".stdin", err = folder / ".stderr";
  const fs::path out = outputPath.empty() ? folder / ".stdout" : outputPath;
  writeFile(in, input);
  std::string command = "XDG_CONFIG_HOME=" + shellQuoted(folder / ".config") +
                        " XDG_CACHE_HOME=" + shellQuoted(folder / ".cache") + " " + shellQuoted(program);
  for (const std::string& arg : args) command += " " + shellQuoted(arg);
  command += " <" + shellQuoted(in) + " >" + shellQuoted(out) + " 2>" + shellQuoted(err);
  const int status = std::system(command.c_str());
  Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), "", readFile(err)};
  if (outputPath.empty()) run.out = readFile(out);
  for (const fs::path& path : {in, err, outputPath.empty() ? out : in}) fs::remove(path);
  return run;
}

// A test with a fresh temporary folder, removed afterwards.
class FolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brindle-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path write(const std::string& name, const std::string& content) const {
    const fs::path path = folder / name;
    writeFile(path, content);
    return path;
  }

  // Entries in the folder, not counting a program's settings and cache.
  std::size_t entries() const {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
      count += entry.path().filename() != ".config" && entry.path().filename() != ".cache";
    return count;
  }

  fs::path folder;
};

#ifdef BRINDLE_EXECUTABLE
// A test that runs the built brindle in its temporary folder.
class BrindleProgramTest : public FolderTest {
 protected:
  Outcome brindle(const std::vector<std::string>& args, const std::string& input = "",
                  const fs::path& outputPath = {}) const {
    return runProgram(BRINDLE_EXECUTABLE, folder, args, input, outputPath);
  }
};
#endif

}  // namespace brindlewort::cli_test
