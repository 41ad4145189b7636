#include "base/source_tree.h"

#include <dirent.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>

#include "base/git_command.h"
#include "base/ignore_rules.h"
#include "base/regular_file.h"

namespace brindlewort {
namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t maxIgnoreFileBytes = 1u << 20;

// File systems whose files are the kernel's, not anybody's sources.
bool isPseudoFileSystem(const fs::path& folder) {
  struct statfs info {};
  if (::statfs(folder.c_str(), &info) != 0) return true;
  switch (static_cast<unsigned long>(info.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case BPF_FS_MAGIC:
    case PSTOREFS_MAGIC:
    case EFIVARFS_MAGIC:
      return true;
    default:
      return false;
  }
}

bool wanted(const SourceTreeOptions& options, const std::string& path) {
  return !options.wanted || options.wanted(path);
}

// A regular file, not a link, within the size cap: lstat, so that nothing
// is opened to find out.
bool isListableFile(const fs::path& path, std::uintmax_t maxBytes) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         static_cast<std::uintmax_t>(info.st_size) <= maxBytes;
}

void capReached(SourceTree& tree, const fs::path& folder, const SourceTreeOptions& options) {
  tree.notes.push_back("the listing of " + folder.string() + " stops at " + std::to_string(options.maxFiles) +
                       " files");
}

SourceTree trackedFiles(const fs::path& folder, const std::string& listing, const SourceTreeOptions& options) {
  SourceTree tree;
  tree.fromGit = true;
  std::string_view rest = listing;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\0');
    const std::string_view name = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (name.empty()) continue;
    const fs::path path = folder / name;
    if (!wanted(options, path.string()) || !isListableFile(path, options.maxFileBytes)) continue;
    if (tree.files.size() >= options.maxFiles) {
      capReached(tree, folder, options);
      break;
    }
    tree.files.push_back(path);
  }
  return tree;
}

// Path of `path` relative to `root`, with "/" between names.
std::string relativeName(const fs::path& path, const fs::path& root) {
  return path.lexically_relative(root).generic_string();
}

// The .gitignore files from the repository's top (the nearest folder above
// with a .git) down to the folder, which the walk then extends.
fs::path loadIgnoresAbove(const fs::path& folder, IgnoreRules& rules) {
  fs::path top;
  for (fs::path at = folder;; at = at.parent_path()) {
    struct stat info {};
    if (::lstat((at / ".git").c_str(), &info) == 0) {
      top = at;
      break;
    }
    if (!at.has_relative_path()) break;
  }
  if (top.empty()) top = folder;
  for (fs::path at = top;;) {
    if (Result<std::string> text = readRegularFile(at / ".gitignore", maxIgnoreFileBytes, SymbolicLinks::refuse)) {
      rules.add(relativeName(at, top) == "." ? "" : relativeName(at, top), *text);
    }
    if (at == folder) break;
    const fs::path step = *folder.lexically_relative(at).begin();
    at /= step;
  }
  return top;
}

SourceTree walkedFiles(const fs::path& folder, const SourceTreeOptions& options) {
  SourceTree tree;
  struct stat rootInfo {};
  if (::lstat(folder.c_str(), &rootInfo) != 0 || !S_ISDIR(rootInfo.st_mode)) return tree;
  if (isPseudoFileSystem(folder)) {
    tree.notes.push_back(folder.string() + " is on a file system of the kernel's; nothing is listed there");
    return tree;
  }
  IgnoreRules ignores;
  const fs::path top = loadIgnoresAbove(folder, ignores);
  std::vector<fs::path> pending{folder};
  std::size_t entries = 0;
  while (!pending.empty()) {
    const fs::path at = pending.back();
    pending.pop_back();
    if (at != folder) {
      if (Result<std::string> text =
              readRegularFile(at / ".gitignore", maxIgnoreFileBytes, SymbolicLinks::refuse)) {
        ignores.add(relativeName(at, top), *text);
      }
    }
    DIR* listing = ::opendir(at.c_str());
    if (listing == nullptr) continue;
    std::vector<std::pair<fs::path, bool>> found;  // path, is a folder
    while (const dirent* entry = ::readdir(listing)) {
      const std::string_view name = entry->d_name;
      if (name == "." || name == "..") continue;
      if (++entries > options.maxEntries) break;
      const fs::path path = at / name;
      struct stat info {};
      if (::lstat(path.c_str(), &info) != 0) continue;
      const bool isFolder = S_ISDIR(info.st_mode);
      if (isFolder) {
        // Hidden folders hold tools' state (.git), not the project's sources.
        if (name.starts_with('.') || info.st_dev != rootInfo.st_dev) continue;
      } else if (!S_ISREG(info.st_mode) || static_cast<std::uintmax_t>(info.st_size) > options.maxFileBytes ||
                 !wanted(options, path.string())) {
        continue;
      }
      found.emplace_back(path, isFolder);
    }
    ::closedir(listing);
    // Sorted, and folders taken from the stack in that order, so that a
    // capped listing keeps the same files on every machine.
    std::sort(found.begin(), found.end());
    const std::size_t firstFolder = pending.size();
    for (const auto& [path, isFolder] : found) {
      if (ignores.ignored(relativeName(path, top), isFolder)) continue;
      if (isFolder) {
        pending.push_back(path);
      } else {
        tree.files.push_back(path);
      }
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstFolder), pending.end());
    if (entries > options.maxEntries) {
      tree.notes.push_back("the listing of " + folder.string() + " stops after " +
                           std::to_string(options.maxEntries) + " folder entries");
      break;
    }
    if (tree.files.size() > options.maxFiles) {
      tree.files.resize(options.maxFiles);
      capReached(tree, folder, options);
      break;
    }
  }
  return tree;
}

}  // namespace

SourceTree listSourceTree(const fs::path& folder, const SourceTreeOptions& options) {
  std::error_code error;
  fs::path at = fs::absolute(folder, error);
  if (error) return {};
  at = fs::weakly_canonical(at, error);
  if (error) return {};
  SourceTree tree;
  const GitWorkTree git = gitWorkTreeOf(at);
  if (!git.root.empty()) {
    if (Result<ProgramRun> listed = runGit(at, {"ls-files", "-z", "--cached", "--", "."});
        listed && listed->status == 0) {
      tree = trackedFiles(at, listed->output, options);
    }
  } else {
    tree = walkedFiles(at, options);
    if (!git.refusal.empty()) {
      tree.notes.insert(tree.notes.begin(), gitRefusalNote(git));
    }
  }
  std::sort(tree.files.begin(), tree.files.end());
  return tree;
}

}  // namespace brindlewort
