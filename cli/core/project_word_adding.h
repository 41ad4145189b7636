#pragma once

// Accepting a word in a project: `brindle spell --add-word` and the
// language server's "Add to project words" write the same list the same
// way.

#include <filesystem>
#include <string>

#include "base/result.h"

namespace brindlewort::cli {

// The list a new word goes to for work in `folder`: the nearest
// .brindle-words in it or above it, else a new one at the root of its git
// work tree, else a new one in the folder.
std::filesystem::path projectWordListFor(const std::filesystem::path& folder);

// Adds the word to that list (atomically; nothing when it is there
// already) and returns the list's path; an error sentence saying why not.
Result<std::filesystem::path> addProjectWord(const std::string& word, const std::filesystem::path& folder);

}  // namespace brindlewort::cli
