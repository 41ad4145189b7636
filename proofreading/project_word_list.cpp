#include "proofreading/project_word_list.h"

#include "engine/utf8_validation.h"

namespace brindlewort {
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

std::optional<std::filesystem::path> findProjectWordList(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::path at = std::filesystem::absolute(folder, error).lexically_normal();
  if (error) return std::nullopt;
  for (;;) {
    const std::filesystem::path candidate = at / projectWordListName;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    if (!at.has_relative_path()) return std::nullopt;
    at = at.parent_path();
  }
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
