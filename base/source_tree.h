#pragma once

// The source files under a folder, listed the same way wherever brindle
// needs them (a repository's vocabulary, a folder named on the command
// line): what git tracks there, or, where git has no say, the folder tree
// as git would see it. A repository is data: nothing it holds can make the
// listing run a command, leave the folder's file system, stall or grow
// without bound.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

struct SourceTreeOptions {
  // Whether a file is wanted, judged by its path alone before it is ever
  // opened; every file when empty.
  std::function<bool(std::string_view path)> wanted;
  std::size_t maxFiles = 50000;
  std::uintmax_t maxFileBytes = 8u << 20;  // larger files are generated, not written
  std::size_t maxEntries = 500000;          // folder entries looked at in a walk
};

struct SourceTree {
  // Absolute paths of regular files (never links or special files) no
  // larger than the cap, sorted by name, so that every run sees them in
  // the same order.
  std::vector<std::filesystem::path> files;
  bool fromGit = false;  // git's tracked files, else a walk of the folder
  // Sentences for the user: what was refused or left out, and why.
  std::vector<std::string> notes;
};

// The files under `folder`. Inside a git work tree: its tracked files
// there (git run so that the repository chooses nothing). Elsewhere, and
// when git refuses the repository (said in a note): a walk of the folder
// that honours .gitignore files from the repository's top down, leaves out
// hidden folders, stays on the folder's file system, never enters a
// pseudo file system (/proc, /sys) and stops at the caps of `options`.
SourceTree listSourceTree(const std::filesystem::path& folder, const SourceTreeOptions& options = {});

}  // namespace brindlewort
