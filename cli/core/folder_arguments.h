#pragma once

// Folders named on the command line stand for the source files under them,
// as other formatters and linters take them: `brindle wrap --check .`.

#include <string>
#include <vector>

namespace brindlewort::cli {

// The inputs with each folder replaced by the files of a language brindle
// knows under it (a git work tree's tracked files, else the folder tree
// without hidden folders and what .gitignore lists), in a stable order and
// named from the folder as given ("src" gives "src/a.c"). What the listing
// left out or refused is said once on standard error. Files, "-" and names
// that do not exist pass through, to be reported where they are read.
std::vector<std::string> expandFolderArguments(const std::vector<std::string>& inputs);

}  // namespace brindlewort::cli
