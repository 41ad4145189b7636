#pragma once

// The patterns of .gitignore files, for listing a folder tree the way git
// would list its untracked files: "#" comments, "!" exceptions, a trailing
// "/" for folders only, a "/" inside anchoring to the file's folder, "*",
// "?", "[...]" within a name and "**" across folders. The last pattern
// that matches decides, deeper files after shallower ones.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

class IgnoreRules {
 public:
  // Adds the text of the .gitignore in `folder`, a path relative to the
  // tree's root with "/" between names ("" for the root itself).
  void add(const std::string& folder, std::string_view text);

  // Whether the entry at `path` (relative to the root) is ignored.
  bool ignored(std::string_view path, bool isFolder) const;

 private:
  struct Rule {
    std::vector<std::string> parts;  // the pattern's names; "**" for any run of folders
    bool negated = false;
    bool foldersOnly = false;
  };
  std::map<std::string, std::vector<Rule>, std::less<>> rulesOfFolder_;
};

}  // namespace brindlewort
