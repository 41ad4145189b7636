#pragma once

// The project a file belongs to: what brindle reads besides the file (the
// project's word list, the code vocabulary of its sources) comes from
// inside it, and nothing above it is looked at.

#include <filesystem>
#include <string>

namespace brindlewort {

struct ProjectRoot {
  // The git work tree that holds the folder; else, when git refuses the
  // repository there, the folder that holds it; else, when the folder lies
  // inside the one the run started in, the topmost folder from there down
  // to it that holds a project's manifest or word list (so that a run
  // started above several projects takes each project alone, as it would
  // in their git work trees), else the start folder; else the folder
  // itself. Never "/" or the home folder: empty when that is all there is.
  std::filesystem::path folder;
  bool gitWorkTree = false;
  // Set when git refuses the repository: a sentence for the user.
  std::string refusal;
};

// The project of `folder`; `startFolder` is where the run started (the
// current folder when empty).
ProjectRoot findProjectRoot(const std::filesystem::path& folder, const std::filesystem::path& startFolder = {});

// Whether `path` is "/" or the home folder, too wide to be a project.
bool isTooWideForProject(const std::filesystem::path& path);

}  // namespace brindlewort
