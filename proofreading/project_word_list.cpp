#include "proofreading/project_word_list.h"

#include <sys/stat.h>
#include <unistd.h>

#include "base/notice.h"
#include "base/regular_file.h"
#include "engine/utf8_validation.h"

namespace brindlewort {
namespace fs = std::filesystem;
namespace {

std::string_view trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

template <typename Visit>
void forEachListWord(std::string_view text, Visit visit) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    if (const std::string_view word = trimmed(line); !word.empty()) visit(word);
  }
}

}  // namespace

ProjectWordListPlace projectWordListPlace(const fs::path& folder, const fs::path& projectRoot) {
  std::error_code error;
  fs::path at = fs::weakly_canonical(fs::absolute(folder, error), error);
  if (error) at = fs::absolute(folder, error).lexically_normal();
  const fs::path root = projectRoot.empty() ? at : projectRoot;
  // Only folders inside the project are searched: a list above it belongs
  // to somebody else.
  const fs::path inside = at.lexically_relative(root);
  if (inside.empty() || *inside.begin() == "..") at = root;
  for (;;) {
    const fs::path candidate = at / projectWordListName;
    struct stat info {};
    if (::lstat(candidate.c_str(), &info) == 0) {
      ProjectWordListPlace place{candidate, true, {}};
      if (S_ISLNK(info.st_mode)) {
        place.problem = "is a symbolic link";
      } else if (!S_ISREG(info.st_mode)) {
        place.problem = "is not a regular file";
      } else if (info.st_uid != ::geteuid()) {
        place.problem = "belongs to another user";
      }
      return place;
    }
    if (at == root || !at.has_relative_path()) return {root / projectWordListName, false, {}};
    at = at.parent_path();
  }
}

AcceptedWords projectWordListWords(const fs::path& folder, const fs::path& projectRoot) {
  const ProjectWordListPlace place = projectWordListPlace(folder, projectRoot);
  if (!place.exists) return {};
  std::string problem = place.problem;
  if (problem.empty()) {
    Result<std::string> text = readRegularFile(place.path, maxWordListBytes, SymbolicLinks::refuse);
    if (text) return parseWordList(*text);
    problem = text.error();
  }
  noticeOnce(place.path.string() + ": " + problem + "; its words are not used");
  return {};
}

AcceptedWords parseWordList(std::string_view text) {
  AcceptedWords words;
  forEachListWord(text, [&](std::string_view word) { words.add(word); });
  return words;
}

Result<void> checkListWord(std::string_view word) {
  if (word.empty()) return Error{"the word is empty"};
  if (firstInvalidUtf8Offset(word)) return Error{"the word is not valid UTF-8"};
  for (const char c : word) {
    if (c == ' ' || c == '\t') return Error{"a word holds no blanks"};
    if (c == '#') return Error{"a word holds no \"#\", which starts a comment in the list"};
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return Error{"the word holds a control character"};
  }
  return {};
}

std::string withWordAdded(std::string_view listText, std::string_view word) {
  bool present = false;
  forEachListWord(listText, [&](std::string_view listed) { present = present || listed == word; });
  std::string text(listText);
  if (present) return text;
  if (!text.empty() && !text.ends_with('\n')) text += '\n';
  text += word;
  text += '\n';
  return text;
}

}  // namespace brindlewort
