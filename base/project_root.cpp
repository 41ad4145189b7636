#include "base/project_root.h"

#include <cstdlib>
#include <string_view>

#include "base/git_command.h"

namespace brindlewort {
namespace fs = std::filesystem;

namespace {

fs::path canonicalOrPlain(const fs::path& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) return path.lexically_normal();
  fs::path canonical = fs::weakly_canonical(absolute, error);
  return error ? absolute.lexically_normal() : canonical;
}

bool isWithin(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

// Files that stand at a project's top: its build manifests and its word list.
constexpr std::string_view projectMarkers[] = {
    "package.json", "Cargo.toml",   "go.mod",           "pyproject.toml", "setup.py",      "build.gradle",
    "build.gradle.kts", "settings.gradle", "settings.gradle.kts", "pom.xml", "CMakeLists.txt", "meson.build",
    "Gemfile",      "configure.ac", ".brindle-words",
};

bool holdsProjectMarker(const fs::path& folder) {
  std::error_code error;
  for (const std::string_view name : projectMarkers) {
    if (fs::is_regular_file(folder / name, error)) return true;
  }
  return false;
}

// The topmost folder from `start` down to `folder` (inside it) that holds a
// project marker; `start` when none does.
fs::path topmostMarkedFolder(const fs::path& folder, const fs::path& start) {
  fs::path at = start;
  if (holdsProjectMarker(at)) return at;
  for (const fs::path& part : folder.lexically_relative(start)) {
    if (part == ".") continue;
    at /= part;
    if (holdsProjectMarker(at)) return at;
  }
  return start;
}

}  // namespace

bool isTooWideForProject(const fs::path& path) {
  const fs::path plain = canonicalOrPlain(path);
  if (plain == plain.root_path()) return true;
  const char* home = std::getenv("HOME");
  return home != nullptr && *home == '/' && plain == canonicalOrPlain(home);
}

ProjectRoot findProjectRoot(const fs::path& folder, const fs::path& startFolder) {
  ProjectRoot project;
  const fs::path at = canonicalOrPlain(folder);
  const GitWorkTree git = gitWorkTreeOf(at);
  if (!git.root.empty()) {
    project.folder = git.root;
    project.gitWorkTree = true;
    return project;
  }
  fs::path candidate;
  if (!git.refusedRoot.empty()) {
    project.refusal = gitRefusalNote(git);
    candidate = git.refusedRoot;
  } else {
    std::error_code error;
    const fs::path start = canonicalOrPlain(startFolder.empty() ? fs::current_path(error) : startFolder);
    candidate = isWithin(at, start) ? topmostMarkedFolder(at, start) : at;
  }
  if (isTooWideForProject(candidate)) candidate = at;
  if (!isTooWideForProject(candidate)) project.folder = candidate;
  return project;
}

}  // namespace brindlewort
