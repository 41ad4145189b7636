#pragma once

// Asking git about a repository without letting the repository choose
// anything git runs: a cloned repository is data, and its configuration
// may name commands (a file system monitor, hooks, a pager).

#include <filesystem>
#include <string>
#include <vector>

#include "base/program_output.h"
#include "base/result.h"

namespace brindlewort {

// Runs `git <arguments>` in `folder` with every setting that can start a
// program switched off, bare repositories found by looking around refused,
// no optional locks, and none of this process's GIT_* variables (a hook
// that runs brindle must not point git at another repository).
Result<ProgramRun> runGit(const std::filesystem::path& folder, const std::vector<std::string>& arguments);

// The git work tree that holds `folder`.
struct GitWorkTree {
  std::filesystem::path root;  // empty outside a work tree git accepts
  // When the folder lies in a repository git refuses to read (another
  // user's, or a bare repository inside a work tree): the folder holding
  // it and git's reason. Empty otherwise.
  std::filesystem::path refusedRoot;
  std::string refusal;
};
GitWorkTree gitWorkTreeOf(const std::filesystem::path& folder);

// What the user is told about a refused repository.
std::string gitRefusalNote(const GitWorkTree& tree);

}  // namespace brindlewort
