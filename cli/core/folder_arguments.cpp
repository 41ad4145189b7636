#include "cli/core/folder_arguments.h"

#include <filesystem>
#include <system_error>

#include "base/source_tree.h"
#include "cli/core/messages.h"
#include "reflow/source_language.h"

namespace brindlewort::cli {
namespace {

namespace fs = std::filesystem;

// Only files whose name gives a language: a folder holds images, data and
// documents that no command of brindle is for.
bool namesKnownLanguage(std::string_view path) {
  return languageForPath(path).kind == LanguageLookup::Kind::known;
}

}  // namespace

std::vector<std::string> expandFolderArguments(const std::vector<std::string>& inputs) {
  std::vector<std::string> expanded;
  expanded.reserve(inputs.size());
  for (const std::string& input : inputs) {
    std::error_code error;
    if (input == "-" || !fs::is_directory(input, error)) {
      expanded.push_back(input);
      continue;
    }
    const fs::path folder(input);
    // The listing names files by their real path; so must the folder they
    // are named from.
    const fs::path absoluteFolder = fs::weakly_canonical(fs::absolute(folder, error), error);
    SourceTreeOptions options;
    options.wanted = namesKnownLanguage;
    const SourceTree tree = listSourceTree(absoluteFolder, options);
    for (const std::string& note : tree.notes) printError(input + ": " + note);
    for (const fs::path& file : tree.files) {
      // Named as the user would name it from where they are.
      const fs::path relative = file.lexically_relative(absoluteFolder);
      expanded.push_back(relative.empty() ? file.string() : (folder / relative).lexically_normal().string());
    }
  }
  return expanded;
}

}  // namespace brindlewort::cli
