#pragma once

// What the command-line tests share: a fresh temporary folder per test,
// reading and writing files whole, and running the built brindle program
// with its standard streams in files.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace brindlewort::cli_test {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

inline void writeFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// What a run of a program left: exit status (128 + signal when killed),
// standard output and standard error.
struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the program with the arguments and `input` on standard input, with a
// settings folder of its own inside `folder` (so that the user's stored
// comment length does not change the default width). Standard output goes
// to `outputPath`, or, when that is empty, to a temporary file that is read
// back into the outcome.
inline Outcome runProgram(const fs::path& program, const fs::path& folder,
                          std::vector<std::string> args, const std::string& input = "",
                          const fs::path& outputPath = {}) {
  const fs::path in = folder / ".stdin";
  const fs::path out = outputPath.empty() ? folder / ".stdout" : outputPath;
  const fs::path err = folder / ".stderr";
  writeFile(in, input);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  args.insert(args.begin(), program.string());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment{"XDG_CONFIG_HOME=" + (folder / ".config").string()};
  for (char** variable = environ; *variable; ++variable) {
    if (!std::string_view(*variable).starts_with("XDG_CONFIG_HOME=")) environment.push_back(*variable);
  }
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);

  Outcome run;
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (outputPath.empty()) {
    run.out = readFile(out);
    fs::remove(out);
  }
  run.err = readFile(err);
  fs::remove(in);
  fs::remove(err);
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

  // Writes a file in the folder and returns its path.
  fs::path write(const std::string& name, const std::string& content) const {
    const fs::path path = folder / name;
    writeFile(path, content);
    return path;
  }

  // Entries in the folder, not counting a program's settings folder.
  std::size_t entries() const {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) count += entry.path().filename() != ".config";
    return count;
  }

  fs::path folder;
};

#ifdef BRINDLE_EXECUTABLE
// A test that runs the built brindle in its temporary folder.
class BrindleProgramTest : public FolderTest {
 protected:
  Outcome brindle(std::vector<std::string> args, const std::string& input = "",
                  const fs::path& outputPath = {}) const {
    return runProgram(BRINDLE_EXECUTABLE, folder, std::move(args), input, outputPath);
  }
};
#endif

}  // namespace brindlewort::cli_test
