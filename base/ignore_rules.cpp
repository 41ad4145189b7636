#include "base/ignore_rules.h"

#include <fnmatch.h>

#include <algorithm>
#include <cstddef>

namespace brindlewort {
namespace {

std::vector<std::string> namesOf(std::string_view path) {
  std::vector<std::string> names;
  while (!path.empty()) {
    const std::size_t slash = path.find('/');
    if (slash != 0) names.emplace_back(path.substr(0, slash));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return names;
}

// Whether the pattern's names match the path's names: a table of which
// prefixes match, so "**" costs no backtracking.
bool namesMatch(const std::vector<std::string>& pattern, const std::vector<std::string>& path) {
  const std::size_t width = path.size() + 1;
  std::vector<char> row(width, 0), next(width, 0);
  row[0] = 1;
  for (const std::string& part : pattern) {
    std::fill(next.begin(), next.end(), 0);
    if (part == "**") {
      bool reached = false;
      for (std::size_t j = 0; j < width; ++j) {
        reached = reached || row[j] != 0;
        next[j] = reached ? 1 : 0;
      }
    } else {
      for (std::size_t j = 0; j + 1 < width; ++j) {
        if (row[j] != 0 && ::fnmatch(part.c_str(), path[j].c_str(), 0) == 0) next[j + 1] = 1;
      }
    }
    row.swap(next);
  }
  return row[path.size()] != 0;
}

}  // namespace

void IgnoreRules::add(const std::string& folder, std::string_view text) {
  std::vector<Rule>& rules = rulesOfFolder_[folder];
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    Rule rule;
    if (line.front() == '!') {
      rule.negated = true;
      line.remove_prefix(1);
    } else if (line.starts_with("\\!") || line.starts_with("\\#")) {
      line.remove_prefix(1);
    }
    if (line.ends_with('/')) {
      rule.foldersOnly = true;
      line.remove_suffix(1);
    }
    // A pattern without a "/" matches a name at any depth.
    if (line.find('/') == std::string_view::npos) rule.parts.emplace_back("**");
    for (std::string& name : namesOf(line)) rule.parts.push_back(std::move(name));
    if (rule.parts.empty() || (rule.parts.size() == 1 && rule.parts.front() == "**")) continue;
    rules.push_back(std::move(rule));
  }
}

bool IgnoreRules::ignored(std::string_view path, bool isFolder) const {
  const std::vector<std::string> names = namesOf(path);
  bool ignored = false;
  // The rules of the root, then of each folder on the way down.
  std::string folder;
  for (std::size_t depth = 0; depth < names.size(); ++depth) {
    if (depth > 0) folder += (depth > 1 ? "/" : "") + names[depth - 1];
    const auto found = rulesOfFolder_.find(folder);
    if (found == rulesOfFolder_.end()) continue;
    const std::vector<std::string> below(names.begin() + static_cast<std::ptrdiff_t>(depth), names.end());
    for (const Rule& rule : found->second) {
      if (rule.foldersOnly && !isFolder) continue;
      if (namesMatch(rule.parts, below)) ignored = !rule.negated;
    }
  }
  return ignored;
}

}  // namespace brindlewort
