#include "helper/typo_corrections.h"

#include <string>
#include <unordered_map>

namespace brindlewort {

extern const char typoCorrectionListText[];

namespace {

// Lines of "misspelling correction"; '#' starts a comment line.
std::vector<std::pair<std::string_view, std::string_view>> parseList(std::string_view text) {
  std::vector<std::pair<std::string_view, std::string_view>> pairs;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    const auto space = line.find(' ');
    if (space == std::string_view::npos || space == 0) continue;
    pairs.emplace_back(line.substr(0, space), line.substr(space + 1));
  }
  return pairs;
}

const std::unordered_map<std::string_view, std::string_view>& table() {
  static const auto map = [] {
    std::unordered_map<std::string_view, std::string_view> built;
    for (const auto& [wrong, right] : typoCorrectionPairs()) built.emplace(wrong, right);
    return built;
  }();
  return map;
}

}  // namespace

const std::vector<std::pair<std::string_view, std::string_view>>& typoCorrectionPairs() {
  static const auto pairs = parseList(typoCorrectionListText);
  return pairs;
}

std::optional<std::string_view> typoCorrection(std::string_view lowerCaseWord) {
  const auto& map = table();
  const auto found = map.find(lowerCaseWord);
  if (found == map.end()) return std::nullopt;
  return found->second;
}

}  // namespace brindlewort
