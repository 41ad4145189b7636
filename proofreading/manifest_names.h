#pragma once

// The names a project declares in its manifests (package.json, Cargo.toml,
// go.mod, pyproject.toml, build.gradle(.kts), CMakeLists.txt, Gemfile): its
// own name, its dependencies, scripts and targets. Such names turn up in
// comments ("the boltdb backend") and are no misspellings. A manifest is
// read as data: nothing in it is run or followed.

#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

// Whether the path names a manifest that manifestNames reads.
bool isManifestPath(std::string_view path);

// The names the manifest at `path` declares, in the order found.
std::vector<std::string> manifestNames(std::string_view path, std::string_view text);

}  // namespace brindlewort
