#include "proofreading/grammar_check.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "engine/characters.h"
#include "engine/comment_detection.h"
#include "engine/line_detail.h"
#include "engine/paragraph_joining.h"
#include "proofreading/marker_mark.h"
#include "proofreading/passive_voice_search.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {

namespace {


using Span = UnitSpan;

// The same matches in characters, each widened to whole characters. One
// walk over the text, since the matches come in order without overlap.
std::vector<Span> inCharacters(const icu::UnicodeString& text, const std::vector<Span>& matches) {
  Utf16CharacterCursor cursor(text);
  std::vector<Span> out;
  out.reserve(matches.size());
  for (const Span& m : matches) {
    const std::int64_t start = cursor.characterHolding(m.start);
    out.push_back({start, cursor.charactersCovering(m.end)});
  }
  return out;
}

struct Scan {
  std::vector<LineDetail> details;
  JoinedParagraphs joined;
  bool ascii = false;          // matches were found in the UTF-8 text itself
  icu::UnicodeString units;    // otherwise the text in UTF-16
  std::vector<Span> unitMatches;
  std::vector<Span> matches;  // characters of the joined text

  // The match with the rest of its last word: the pattern stops at the
  // last "en" or "ed", which may lie inside a word ("have sufficien|t").
  std::string matchedWords(std::size_t k) const {
    const Span& m = unitMatches[k];
    std::int64_t end = m.end;
    if (ascii) {
      const std::string& text = joined.text;
      while (end < static_cast<std::int64_t>(text.size()) &&
             std::isalnum(static_cast<unsigned char>(text[static_cast<std::size_t>(end)])))
        ++end;
      return text.substr(static_cast<std::size_t>(m.start), static_cast<std::size_t>(end - m.start));
    }
    while (end < units.length()) {
      const UChar32 c = units.char32At(static_cast<std::int32_t>(end));
      if (!u_isalnum(c)) break;
      end += U16_LENGTH(c);
    }
    return utf8Slice(units, m.start, end - m.start);
  }
};

template <typename Line>
Scan scan(const std::vector<Line>& lines) {
  Scan s;
  s.details = parseLines(lines);
  s.joined = joinParagraphs(s.details);
  // In ASCII every byte is a character, CR-LF pairs aside, so most text
  // needs neither conversion nor character counting.
  s.ascii = isAscii(s.joined.text) && s.joined.text.find("\r\n") == std::string::npos;
  if (s.ascii) {
    s.unitMatches = passiveVoiceMatchesInAscii(s.joined.text);
    s.matches = s.unitMatches;
  } else {
    s.units = toUtf16(s.joined.text);
    s.unitMatches = passiveVoiceMatches(s.units);
    s.matches = inCharacters(s.units, s.unitMatches);
  }
  return s;
}

// A continuation line's piece leaves out its comment prefix; its marks move
// right by that many characters.
std::int64_t pieceShift(const LineDetail& detail, std::string_view line) {
  if (!detail.continuation) return 0;
  const auto prefix = commentPrefix(line);
  return prefix ? static_cast<std::int64_t>(characterCount(*prefix)) : 0;
}

// Index of the first match that ends at or after `start`. Matches and
// pieces both come in order, so the search normally only moves forward.
class MatchSweep {
 public:
  explicit MatchSweep(const std::vector<Span>& matches) : matches_(matches) {}

  std::size_t firstReaching(std::int64_t start) {
    if (start < lastStart_) {
      next_ = static_cast<std::size_t>(
          std::partition_point(matches_.begin(), matches_.end(),
                               [&](const Span& m) { return m.end < start; }) -
          matches_.begin());
    }
    lastStart_ = start;
    while (next_ < matches_.size() && matches_[next_].end < start) ++next_;
    return next_;
  }

 private:
  const std::vector<Span>& matches_;
  std::size_t next_ = 0;
  std::int64_t lastStart_ = 0;
};

std::string collapsingWhitespace(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool inSpace = false;
  for (const char c : text) {
    if (c == ' ' || (c >= '\t' && c <= '\r')) {
      if (!inSpace) out += ' ';
      inSpace = true;
    } else {
      out += c;
      inSpace = false;
    }
  }
  return out;
}

template <typename Line>
std::vector<std::string> markAll(const std::vector<Line>& lines) {
  const Scan s = scan(lines);
  const auto& ranges = s.joined.lineRanges;
  MatchSweep sweep(s.matches);

  std::vector<std::string> out;
  out.reserve(lines.size() + s.matches.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.emplace_back(lines[i]);
    if (i >= ranges.size() || i >= s.details.size()) continue;
    const std::int64_t pieceStart = ranges[i].start;
    const std::int64_t pieceEnd = ranges[i].start + ranges[i].length;

    std::size_t k = sweep.firstReaching(pieceStart);
    if (k == s.matches.size() || s.matches[k].start >= pieceEnd) continue;

    std::string marker = hangingCommentPrefix(s.details[i]);
    auto markerLength = static_cast<std::int64_t>(characterCount(marker));
    const std::int64_t shift = pieceShift(s.details[i], lines[i]);
    for (; k < s.matches.size() && s.matches[k].start < pieceEnd; ++k) {
      const Span& m = s.matches[k];
      const std::int64_t column = (m.start - pieceStart) + shift;
      if (column > markerLength) {
        marker.append(static_cast<std::size_t>(column - markerLength), ' ');
        markerLength = column;
      }
      const std::int64_t marks = std::min(m.end, pieceEnd) - std::max(m.start, pieceStart);
      for (std::int64_t j = 0; j < marks; ++j) marker += markerMark;
      markerLength += std::max<std::int64_t>(marks, 0);
    }
    out.push_back(std::move(marker));
  }
  return out;
}

template <typename Line>
std::vector<PassiveVoiceFinding> findAll(const std::vector<Line>& lines) {
  const Scan s = scan(lines);
  const auto& ranges = s.joined.lineRanges;
  const std::size_t count = std::min({lines.size(), ranges.size(), s.details.size()});

  std::vector<PassiveVoiceFinding> findings;
  findings.reserve(s.matches.size());
  std::size_t i = 0;
  for (std::size_t k = 0; k < s.matches.size(); ++k) {
    const Span& m = s.matches[k];
    // The line whose piece holds the match's first character.
    while (i < count && ranges[i].start + ranges[i].length <= m.start) ++i;
    if (i == count) break;
    const std::int64_t column =
        std::max<std::int64_t>(m.start - ranges[i].start, 0) + pieceShift(s.details[i], lines[i]);
    std::string text = collapsingWhitespace(s.matchedWords(k));
    const std::string_view lead = std::string_view(text).substr(0, text.find(' '));
    const bool perfectTense = lead == "have" || lead == "has" || lead == "had";
    findings.push_back({i, column, std::move(text), perfectTense});
  }
  return findings;
}

}  // namespace

std::vector<std::string> grammarCheckLines(const std::vector<std::string>& lines) {
  return markAll(lines);
}

std::vector<std::string> grammarCheckLines(const std::vector<std::string_view>& lines) {
  return markAll(lines);
}

std::vector<PassiveVoiceFinding> passiveVoiceFindings(const std::vector<std::string>& lines) {
  return findAll(lines);
}

std::vector<PassiveVoiceFinding> passiveVoiceFindings(const std::vector<std::string_view>& lines) {
  return findAll(lines);
}

}  // namespace brindlewort
