#include "workbench/line_edits.h"

#include <functional>
#include <optional>
#include <utility>

namespace brindlewort {

namespace {

// How far past a difference to look for lines that match again. Wrapping
// turns one paragraph into a few lines, so a short window finds the next
// unchanged line; a longer stretch of changes simply becomes one edit.
constexpr std::size_t lookAhead = 48;

struct Lines {
  const std::vector<std::string>& lines;
  std::vector<std::size_t> hashes;

  explicit Lines(const std::vector<std::string>& l) : lines(l) {
    hashes.reserve(l.size());
    for (const std::string& line : l) hashes.push_back(std::hash<std::string>{}(line));
  }
};

bool same(const Lines& a, std::size_t i, const Lines& b, std::size_t j) {
  return a.hashes[i] == b.hashes[j] && a.lines[i] == b.lines[j];
}

// The nearest pair (i + di, j + dj) of equal lines, nearest by di + dj.
std::optional<std::pair<std::size_t, std::size_t>> resync(const Lines& a, std::size_t i, const Lines& b,
                                                          std::size_t j) {
  const std::size_t n = a.lines.size();
  const std::size_t m = b.lines.size();
  for (std::size_t distance = 1; distance <= 2 * lookAhead; ++distance) {
    for (std::size_t di = distance > lookAhead ? distance - lookAhead : 0; di <= std::min(distance, lookAhead);
         ++di) {
      const std::size_t dj = distance - di;
      if (i + di < n && j + dj < m && same(a, i + di, b, j + dj)) return std::pair{i + di, j + dj};
    }
  }
  return std::nullopt;
}

QString joined(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t k = from; k < to; ++k) {
    if (k > from) text += '\n';
    text += lines[k];
  }
  return QString::fromStdString(text);
}

}  // namespace

std::vector<TextEdit> lineEditsBetween(const QString& text, const std::vector<std::string>& before,
                                       const std::vector<std::string>& after) {
  // UTF-16 offset of each old line's start; lineStart[n] stands one past a
  // virtual line feed after the last line.
  std::vector<qsizetype> lineStart{0};
  for (qsizetype k = 0; k < text.size(); ++k) {
    if (text[k] == u'\n') lineStart.push_back(k + 1);
  }
  const std::size_t n = before.size();
  const std::size_t m = after.size();
  if (lineStart.size() != n) return {{0, text.size(), joined(after, 0, m)}};  // not the lines of this text
  lineStart.push_back(text.size() + 1);

  // Replaces old lines [i, i2) by new lines [j, j2); each line carries its
  // line feed, except that the text's last line has none.
  std::vector<TextEdit> edits;
  auto replace = [&](std::size_t i, std::size_t i2, std::size_t j, std::size_t j2) {
    if (i == i2 && j == j2) return;
    if (i2 < n) {
      QString replacement = joined(after, j, j2);
      if (j2 > j) replacement += u'\n';
      edits.push_back({lineStart[i], lineStart[i2] - lineStart[i], std::move(replacement)});
    } else if (j2 > j) {
      // Up to the end: the new last line ends the text without a line feed.
      const qsizetype start = i < n ? lineStart[i] : text.size();
      QString replacement = i < n ? joined(after, j, j2) : u'\n' + joined(after, j, j2);
      edits.push_back({start, text.size() - start, std::move(replacement)});
    } else if (i == 0) {
      edits.push_back({0, text.size(), QString()});
    } else {
      // Old lines at the end go away together with the line feed before them.
      const qsizetype start = lineStart[i] - 1;
      edits.push_back({start, text.size() - start, QString()});
    }
  };

  const Lines a(before);
  const Lines b(after);
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < n && j < m) {
    if (same(a, i, b, j)) {
      ++i;
      ++j;
      continue;
    }
    const auto next = resync(a, i, b, j);
    if (!next) break;
    replace(i, next->first, j, next->second);
    i = next->first;
    j = next->second;
  }
  replace(i, n, j, m);
  return edits;
}

}  // namespace brindlewort
