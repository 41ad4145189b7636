#pragma once

// Accepting a word in a project: `brindle spell --add-word` and the
// language server's "Add to project words" write the same list the same
// way.

#include <filesystem>
#include <string>

#include "base/result.h"

namespace brindlewort::cli {

// Adds the word to the project's list for work in `folder` (the nearest
// .brindle-words from the folder up to the project's root, else a new one
// at the root) and returns the list's path; nothing changes when the word
// is there already. Runs adding at once each keep their word: the change
// is made under a lock and written atomically. A list that is a symbolic
// link, not a regular file, another user's or read-only is refused with an
// error sentence saying so.
Result<std::filesystem::path> addProjectWord(const std::string& word, const std::filesystem::path& folder);

}  // namespace brindlewort::cli
