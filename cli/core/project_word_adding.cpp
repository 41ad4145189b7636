#include "cli/core/project_word_adding.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "cli/core/atomic_write.h"
#include "proofreading/program_output.h"
#include "proofreading/project_word_list.h"

namespace brindlewort::cli {

namespace fs = std::filesystem;

fs::path projectWordListFor(const fs::path& folder) {
  if (std::optional<fs::path> list = findProjectWordList(folder)) return *list;
  if (Result<std::string> top = programOutput({"git", "-C", folder.string(), "rev-parse", "--show-toplevel"});
      top && !top->empty()) {
    while (!top->empty() && top->back() == '\n') top->pop_back();
    return fs::path(*top) / projectWordListName;
  }
  return folder / projectWordListName;
}

Result<fs::path> addProjectWord(const std::string& word, const fs::path& folder) {
  if (Result<void> usable = checkListWord(word); !usable) {
    return Error{"cannot add \"" + word + "\": " + usable.error()};
  }
  std::error_code error;
  const fs::path list = projectWordListFor(folder);
  std::string text;
  if (fs::exists(list, error)) {
    std::ifstream in(list, std::ios::binary);
    if (!in) return Error{"cannot read " + list.string()};
    std::ostringstream content;
    content << in.rdbuf();
    text = std::move(content).str();
  } else {
    // The atomic write replaces a file; a new list starts empty.
    const int fd = ::open(list.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) return Error{"cannot create " + list.string()};
    if (fd >= 0) ::close(fd);
  }
  const std::string updated = withWordAdded(text, word);
  if (updated != text) {
    if (Result<void> written = writeFileAtomically(list.string(), updated); !written) {
      return Error{list.string() + ": " + written.error()};
    }
  }
  return list;
}

}  // namespace brindlewort::cli
