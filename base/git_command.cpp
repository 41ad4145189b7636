#include "base/git_command.h"

#include <sys/stat.h>

namespace brindlewort {
namespace fs = std::filesystem;

namespace {

std::string withoutLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// The nearest folder at or above `folder` that holds a .git entry.
fs::path repositoryAbove(const fs::path& folder) {
  for (fs::path at = folder;; at = at.parent_path()) {
    struct stat info {};
    if (::lstat((at / ".git").c_str(), &info) == 0) return at;
    if (!at.has_relative_path()) return {};
  }
}

}  // namespace

Result<ProgramRun> runGit(const fs::path& folder, const std::vector<std::string>& arguments) {
  std::vector<std::string> command{"git",
                                   "--no-pager",
                                   "--no-optional-locks",
                                   "-c", "core.fsmonitor=false",
                                   "-c", "safe.bareRepository=explicit",
                                   "-c", "core.hooksPath=/dev/null",
                                   "-c", "submodule.recurse=false",
                                   "-C", folder.string()};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return runProgram(command, environmentWithout("GIT_"));
}

GitWorkTree gitWorkTreeOf(const fs::path& folder) {
  GitWorkTree tree;
  const Result<ProgramRun> top = runGit(folder, {"rev-parse", "--show-toplevel"});
  if (!top) return tree;  // no git: nothing to refuse either
  if (top->status == 0) {
    const std::string root = withoutLineEnd(top->output);
    if (!root.empty()) tree.root = root;
    return tree;
  }
  // Git says "not a repository" for a folder outside any; anything else
  // about a folder below a .git is a refusal.
  const fs::path above = repositoryAbove(folder);
  if (above.empty()) return tree;
  tree.refusedRoot = above;
  std::string reason = withoutLineEnd(top->errors);
  if (const std::size_t end = reason.find('\n'); end != std::string::npos) reason.resize(end);
  tree.refusal = reason.empty() ? "git cannot read it" : reason;
  return tree;
}

std::string gitRefusalNote(const GitWorkTree& tree) {
  return "git refuses the repository at " + tree.refusedRoot.string() + " (" + tree.refusal +
         "); its files are listed from the folder tree instead";
}

}  // namespace brindlewort
