#include "proofreading/spell_check.h"

#include <algorithm>
#include <limits>

#include "engine/characters.h"
#include "engine/comment_detection.h"
#include "engine/line_detail.h"
#include "proofreading/change_log_date.h"
#include "proofreading/info_log.h"
#include "proofreading/marker_mark.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {

namespace {


struct CheckedLine {
  std::string_view prefix;
  std::string_view text;  // what the checker saw; follows the prefix
  std::vector<TextCheckingResult> results;
};

std::string describeResults(const std::vector<TextCheckingResult>& results) {
  std::string out = "(";
  for (std::size_t i = 0; i < results.size(); ++i) {
    const TextCheckingResult& r = results[i];
    if (i > 0) out += ", ";
    out += r.resultType == spellingResultType ? std::string("spelling")
                                              : "type " + std::to_string(r.resultType);
    out += " {" + std::to_string(r.start) + ", " + std::to_string(r.length) + "}";
  }
  return out + ")";
}

// Asks the checker about the comment text of a line; nothing for lines that
// are not checked or that come back clean.
std::optional<CheckedLine> checkLine(std::string_view line, const SpellChecker& checker) {
  const std::string_view trimmed = droppingLineTerminator(line);
  const auto prefix = commentPrefix(trimmed);
  // A prefix of spaces alone is indentation, not a comment.
  if (!prefix || prefix->find_first_not_of(' ') == std::string_view::npos) return std::nullopt;
  auto start = textStart(trimmed);
  if (!start || *start > trimmed.size()) return std::nullopt;
  // The text opens after the last blank that follows the marker: what
  // stands between shows what its first word is, a link's bracket
  // ("[text](url)"), a doc tag's sign ("@jls"), a number ("0xfffe").
  std::string_view ownPrefix = *prefix;
  const std::size_t markerEnd = ownPrefix.find_first_of(" \t", std::min(ownPrefix.size(), ownPrefix.find_first_not_of(" \t")));
  if (ownPrefix.size() == *start && markerEnd != std::string_view::npos) {
    std::size_t blank = ownPrefix.find_last_of(" \t");
    // A date stays with the text: it shows that a name follows.
    const std::size_t afterMarker = ownPrefix.find_first_not_of(" \t", markerEnd);
    if (afterMarker != std::string_view::npos && opensWithChangeLogDate(ownPrefix.substr(afterMarker))) blank = afterMarker - 1;
    if (blank + 1 < *start) {
      *start = blank + 1;
      ownPrefix = ownPrefix.substr(0, *start);
    }
  }

  CheckedLine checked{ownPrefix, trimmed.substr(*start), {}};
  checked.results = checker.check(checked.text);
  if (checked.results.empty()) return std::nullopt;
  if (infoLogEnabled()) {
    logInfo("Found " + std::to_string(checked.results.size()) + " spelling errors in text: '" +
            describeResults(checked.results) + "'");
  }
  return checked;
}

// A range's place in characters of the checked text: [first, end).
struct Placement {
  std::int64_t first = 0;
  std::int64_t end = 0;
};

// Converts UTF-16 ranges of the text to character ranges, rounding outwards
// to whole characters. Beyond the text every unit counts as one character.
// Ranges that are negative, overflow, or end past `room` get nothing.
std::vector<std::optional<Placement>> placeRanges(
    const std::vector<std::pair<std::int64_t, std::int64_t>>& ranges, std::string_view text,
    std::int64_t room) {
  std::vector<std::optional<Placement>> placed(ranges.size());
  auto valid = [](std::int64_t start, std::int64_t length) {
    return start >= 0 && length >= 0 && start <= std::numeric_limits<std::int64_t>::max() - length;
  };

  if (isAscii(text)) {  // no LF inside a line, so every unit is a character
    for (std::size_t i = 0; i < ranges.size(); ++i) {
      const auto [start, length] = ranges[i];
      if (valid(start, length) && start + length <= room) placed[i] = Placement{start, start + length};
    }
    return placed;
  }

  // The cursor walks forward only: visit the range ends in increasing order.
  struct Query {
    std::int64_t offset;
    std::size_t range;
    bool isEnd;
  };
  std::vector<Query> queries;
  queries.reserve(ranges.size() * 2);
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const auto [start, length] = ranges[i];
    if (!valid(start, length)) continue;
    queries.push_back({start, i, false});
    queries.push_back({start + length, i, true});
  }
  std::sort(queries.begin(), queries.end(),
            [](const Query& a, const Query& b) { return a.offset < b.offset; });

  const icu::UnicodeString units = toUtf16(text);
  Utf16CharacterCursor cursor(units);
  std::vector<Placement> found(ranges.size());
  for (const Query& q : queries) {
    if (q.isEnd) {
      found[q.range].end = cursor.charactersCovering(q.offset);
    } else {
      found[q.range].first = cursor.characterHolding(q.offset);
    }
  }
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const auto [start, length] = ranges[i];
    if (!valid(start, length)) continue;
    // An empty range keeps its place rather than growing to a character.
    Placement p = found[i];
    if (length == 0) p.end = p.first;
    if (p.end <= room) placed[i] = p;
  }
  return placed;
}

std::string_view textAfterPrefix(std::string_view trimmed, std::string_view prefix) {
  if (trimmed.starts_with(prefix)) return trimmed.substr(prefix.size());
  return trimmed.substr(byteOffsetAfterCharacters(trimmed, characterCount(prefix)));
}

std::vector<std::pair<std::int64_t, std::int64_t>> spellingRanges(
    const std::vector<TextCheckingResult>& results) {
  std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
  for (const TextCheckingResult& r : results) {
    if (r.resultType == spellingResultType) ranges.emplace_back(r.start, r.length);
  }
  return ranges;
}

}  // namespace

std::optional<std::string> spellingMarkerLine(std::string_view line, const SpellChecker& checker) {
  const auto checked = checkLine(line, checker);
  if (!checked) return std::nullopt;
  return buildTypoMarker(spellingRanges(checked->results), checked->prefix, line);
}

namespace {

template <typename Line>
std::vector<std::string> spellCheckAll(const std::vector<Line>& lines, const SpellChecker& checker) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (const Line& line : lines) {
    out.emplace_back(line);
    if (auto marker = spellingMarkerLine(line, checker)) out.push_back(std::move(*marker));
  }
  return out;
}

}  // namespace

std::optional<std::string> buildTypoMarker(
    const std::vector<std::pair<std::int64_t, std::int64_t>>& ranges,
    std::string_view commentPrefix, std::string_view line) {
  const std::string_view text = textAfterPrefix(droppingLineTerminator(line), commentPrefix);
  const auto room = static_cast<std::int64_t>(characterCount(line));
  const auto placed = placeRanges(ranges, text, room);

  std::int64_t end = 0;
  std::size_t marked = 0;
  for (const auto& p : placed) {
    if (!p) continue;
    end = std::max(end, p->end);
    ++marked;
  }
  if (marked == 0) return std::nullopt;

  std::vector<bool> marks(static_cast<std::size_t>(end), false);
  for (const auto& p : placed) {
    if (!p) continue;
    std::fill(marks.begin() + p->first, marks.begin() + p->end, true);
  }
  std::string out(commentPrefix);
  out.reserve(out.size() + marks.size() * markerMark.size() + 16);
  for (const bool marked_ : marks) {
    if (marked_) {
      out += markerMark;
    } else {
      out += ' ';
    }
  }
  out += marked > 1 ? typosNote : typoNote;
  return out;
}

std::vector<std::string> spellCheckLines(const std::vector<std::string>& lines,
                                         const SpellChecker& checker) {
  return spellCheckAll(lines, checker);
}

std::vector<std::string> spellCheckLines(const std::vector<std::string_view>& lines,
                                         const SpellChecker& checker) {
  return spellCheckAll(lines, checker);
}

std::vector<SpellingFinding> spellingFindings(std::string_view line, const SpellChecker& checker) {
  const auto checked = checkLine(line, checker);
  if (!checked) return {};
  const auto ranges = spellingRanges(checked->results);
  const icu::UnicodeString units = toUtf16(checked->text);
  // Only words inside the text can be named; the marker line's room check
  // is looser, but a checker never reports past its text.
  const auto placed = placeRanges(ranges, checked->text, units.length());
  const auto column = static_cast<std::int64_t>(characterCount(checked->prefix));

  std::vector<SpellingFinding> findings;
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const auto [start, length] = ranges[i];
    if (!placed[i] || start + length > units.length()) continue;
    findings.push_back({column + placed[i]->first, utf8Slice(units, start, length)});
  }
  return findings;
}

}  // namespace brindlewort
