#include "cli/core/text_changes.h"

#include <algorithm>
#include <unordered_map>

namespace brindlewort::cli {
namespace {

constexpr std::size_t contextLines = 3;

// The lines of a text, each with its line feed; the last one has none when
// the text does not end in one.
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t feed = text.find('\n', start);
    const std::size_t end = feed == std::string_view::npos ? text.size() : feed + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

// From a difference at a[i] and b[j]: the first place where the two sides
// meet again, reading both on one line at a time until a line of one side
// has been seen on the other. Fresh maps each time, so that a long
// stretch does not make every later one pay for its size.
std::pair<std::size_t, std::size_t> meetingPoint(const std::vector<std::string_view>& a, std::size_t i,
                                                 const std::vector<std::string_view>& b, std::size_t j) {
  std::unordered_map<std::string_view, std::size_t> seenInA, seenInB;
  for (std::size_t step = 0; i + step < a.size() || j + step < b.size(); ++step) {
    if (i + step < a.size()) seenInA.emplace(a[i + step], i + step);
    if (j + step < b.size()) seenInB.emplace(b[j + step], j + step);
    if (j + step < b.size()) {
      if (auto found = seenInA.find(b[j + step]); found != seenInA.end()) return {found->second, j + step};
    }
    if (i + step < a.size()) {
      if (auto found = seenInB.find(a[i + step]); found != seenInB.end()) return {i + step, found->second};
    }
  }
  return {a.size(), b.size()};
}

std::vector<LineChange> changesBetween(const std::vector<std::string_view>& a,
                                       const std::vector<std::string_view>& b) {
  std::vector<LineChange> changes;
  std::size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      ++i;
      ++j;
      continue;
    }
    const auto [x, y] = meetingPoint(a, i, b, j);
    changes.push_back({i, x - i, j, y - j});
    i = x;
    j = y;
  }
  return changes;
}

// "START,COUNT" of a hunk header as diff writes it: an empty range starts
// at the line before it, and a count of one is left out.
std::string rangeText(std::size_t first, std::size_t count) {
  if (count == 0) return std::to_string(first) + ",0";
  if (count == 1) return std::to_string(first + 1);
  return std::to_string(first + 1) + "," + std::to_string(count);
}

void appendLine(std::string& out, char mark, std::string_view line) {
  out += mark;
  out += line;
  if (!line.ends_with('\n')) out += "\n\\ No newline at end of file\n";
}

}  // namespace

std::vector<LineChange> lineChanges(std::string_view before, std::string_view after) {
  return changesBetween(linesOf(before), linesOf(after));
}

std::string unifiedDiff(std::string_view name, std::string_view before, std::string_view after) {
  const std::vector<std::string_view> a = linesOf(before), b = linesOf(after);
  const std::vector<LineChange> changes = changesBetween(a, b);
  if (changes.empty()) return {};
  std::string out = "--- " + std::string(name) + "\n+++ " + std::string(name) + "\n";
  for (std::size_t first = 0; first < changes.size();) {
    // Changes whose context would touch go into one hunk.
    std::size_t last = first;
    while (last + 1 < changes.size() &&
           changes[last + 1].oldFirst - (changes[last].oldFirst + changes[last].oldCount) <= 2 * contextLines)
      ++last;
    const std::size_t lead = std::min(contextLines, changes[first].oldFirst);
    const std::size_t oldStart = changes[first].oldFirst - lead;
    const std::size_t newStart = changes[first].newFirst - lead;
    const std::size_t oldEnd =
        std::min(a.size(), changes[last].oldFirst + changes[last].oldCount + contextLines);
    const std::size_t trail = oldEnd - (changes[last].oldFirst + changes[last].oldCount);
    const std::size_t newEnd = changes[last].newFirst + changes[last].newCount + trail;
    out += "@@ -" + rangeText(oldStart, oldEnd - oldStart) + " +" + rangeText(newStart, newEnd - newStart) +
           " @@\n";
    std::size_t at = oldStart;
    for (std::size_t c = first; c <= last; ++c) {
      for (; at < changes[c].oldFirst; ++at) appendLine(out, ' ', a[at]);
      for (std::size_t k = 0; k < changes[c].oldCount; ++k) appendLine(out, '-', a[changes[c].oldFirst + k]);
      for (std::size_t k = 0; k < changes[c].newCount; ++k) appendLine(out, '+', b[changes[c].newFirst + k]);
      at = changes[c].oldFirst + changes[c].oldCount;
    }
    for (; at < oldEnd; ++at) appendLine(out, ' ', a[at]);
    first = last + 1;
  }
  return out;
}

}  // namespace brindlewort::cli
