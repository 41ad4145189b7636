#include "proofreading/grammar_check.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "engine/characters.h"
#include "engine/comment_detection.h"
#include "engine/line_detail.h"
#include "engine/paragraph_joining.h"
#include "proofreading/comment_spelling.h"
#include "proofreading/grammar_construction_search.h"
#include "proofreading/marker_mark.h"
#include "proofreading/passive_voice_search.h"
#include "proofreading/utf16_characters.h"
#include "reflow/comment_line_parts.h"
#include "reflow/source_language.h"

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
  std::vector<GrammarKind> kinds;  // of each match

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

  void keepOnly(const std::vector<bool>& keep) {
    std::size_t kept = 0;
    for (std::size_t k = 0; k < matches.size(); ++k) {
      if (!keep[k]) continue;
      unitMatches[kept] = unitMatches[k];
      matches[kept] = matches[k];
      kinds[kept] = kinds[k];
      ++kept;
    }
    unitMatches.resize(kept);
    matches.resize(kept);
    kinds.resize(kept);
  }
};

// The perfect tense is the pattern's "have" constructions.
GrammarKind exactKind(std::string_view lead) {
  return lead == "have" ? GrammarKind::perfectTense : GrammarKind::passiveVoice;
}

template <typename Line>
Scan exactScan(const std::vector<Line>& lines) {
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
  for (const Span& m : s.unitMatches) {
    const std::string lead = s.ascii ? s.joined.text.substr(static_cast<std::size_t>(m.start), 4)
                                     : utf8Slice(s.units, m.start, 4);
    s.kinds.push_back(exactKind(lead));
  }
  return s;
}

// UTF-8 byte offsets of the text as UTF-16 offsets, for spans in order.
std::vector<Span> inUtf16(std::string_view text, const std::vector<GrammarMatch>& spans) {
  std::vector<Span> out;
  out.reserve(spans.size());
  std::int64_t byte = 0;
  std::int64_t unit = 0;
  auto advanceTo = [&](std::int64_t target) {
    for (; byte < target && byte < static_cast<std::int64_t>(text.size()); ++byte) {
      const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(byte)]);
      if ((c & 0xC0) != 0x80) unit += c >= 0xF0 ? 2 : 1;
    }
    return unit;
  };
  for (const GrammarMatch& m : spans) {
    const std::int64_t start = advanceTo(m.start);
    out.push_back({start, advanceTo(m.end)});
  }
  return out;
}

// Whether only blanks stand before `at` in the line's piece.
bool wordOpensPiece(const Scan& s, const LineRange& piece, std::int64_t at) {
  if (!s.ascii) return false;  // character offsets are bytes only in ASCII
  for (std::int64_t i = piece.start; i < at; ++i) {
    const char c = s.joined.text[static_cast<std::size_t>(i)];
    if (c != ' ' && c != '\t') return false;
  }
  return true;
}

// Whether each match lies wholly on lines the check reads. A word repeated
// from a line that holds only that word is a listing ("// true" above
// "// true"), not a slip.
std::vector<bool> onCheckedLines(const Scan& s, const std::vector<bool>& checked) {
  std::vector<bool> keep(s.matches.size(), true);
  const auto& ranges = s.joined.lineRanges;
  std::size_t line = 0;
  for (std::size_t k = 0; k < s.matches.size(); ++k) {
    const Span& m = s.matches[k];
    while (line < ranges.size() && ranges[line].start + ranges[line].length < m.start) ++line;
    for (std::size_t i = line; i < ranges.size() && ranges[i].start < m.end; ++i) {
      if (i < checked.size() && !checked[i]) keep[k] = false;
    }
    if (s.kinds[k] == GrammarKind::repeatedWord && line < ranges.size() &&
        ranges[line].start + ranges[line].length < m.end && wordOpensPiece(s, ranges[line], m.start))
      keep[k] = false;
  }
  return keep;
}

// A licence's paragraphs are quoted legal text, passive by custom: no
// maintainer rewrites them. A word written twice there is still a slip.
bool readsAsLicence(std::string_view paragraph) {
  static constexpr std::string_view marks[] = {"License", "Licence", "licensed under", "under the terms of",
                                               "Copyright", "SPDX-", "WITHOUT WARRANTIES", "WITHOUT ANY WARRANTY",
                                               "\"AS IS\""};
  // One pass: a mark is looked for only where its first letter stands.
  for (std::size_t at = 0; at < paragraph.size(); ++at) {
    const char c = paragraph[at];
    if (c != 'L' && c != 'l' && c != 'u' && c != 'C' && c != 'S' && c != 'W' && c != '"') continue;
    const std::string_view rest = paragraph.substr(at);
    for (const std::string_view mark : marks) {
      if (mark.front() == c && rest.starts_with(mark)) return true;
    }
  }
  return false;
}

// The matches, less the constructions inside licence paragraphs (lines of
// the joined text).
std::vector<GrammarMatch> outsideLicences(std::string_view text, std::vector<GrammarMatch> found) {
  std::size_t paragraphEnd = 0;
  bool licence = false;
  std::erase_if(found, [&](const GrammarMatch& m) {
    if (m.kind == GrammarKind::repeatedWord) return false;
    const auto start = static_cast<std::size_t>(m.start);
    if (start >= paragraphEnd) {
      const std::size_t lineStart = text.rfind('\n', start);
      const std::size_t from = lineStart == std::string_view::npos ? 0 : lineStart + 1;
      paragraphEnd = std::min(text.find('\n', start), text.size());
      licence = readsAsLicence(text.substr(from, paragraphEnd - from));
    }
    return licence;
  });
  return found;
}

template <typename Line>
Scan proseScan(const std::vector<Line>& lines, const GrammarRules& rules) {
  Scan s;
  s.details = parseLines(lines);
  s.joined = joinParagraphs(s.details);
  const std::vector<GrammarMatch> found = outsideLicences(s.joined.text, grammarConstructions(s.joined.text, rules));
  s.ascii = isAscii(s.joined.text) && s.joined.text.find("\r\n") == std::string::npos;
  if (s.ascii) {
    for (const GrammarMatch& m : found) s.unitMatches.push_back({m.start, m.end});
    s.matches = s.unitMatches;
  } else {
    s.units = toUtf16(s.joined.text);
    s.unitMatches = inUtf16(s.joined.text, found);
    s.matches = inCharacters(s.units, s.unitMatches);
  }
  for (const GrammarMatch& m : found) s.kinds.push_back(m.kind);
  if (!s.matches.empty()) {
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    s.keepOnly(onCheckedLines(s, grammarCheckedLines(views)));
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
std::vector<std::string> markAll(const std::vector<Line>& lines, const Scan& s) {
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
std::vector<GrammarFinding> findAll(const std::vector<Line>& lines, const Scan& s, const GrammarRules& rules) {
  const auto& ranges = s.joined.lineRanges;
  const std::size_t count = std::min({lines.size(), ranges.size(), s.details.size()});

  std::vector<GrammarFinding> findings;
  findings.reserve(s.matches.size());
  std::size_t i = 0;
  for (std::size_t k = 0; k < s.matches.size(); ++k) {
    if (!rules.reports(s.kinds[k])) continue;
    const Span& m = s.matches[k];
    // The line whose piece holds the match's first character.
    while (i < count && ranges[i].start + ranges[i].length <= m.start) ++i;
    if (i == count) break;
    const std::int64_t column =
        std::max<std::int64_t>(m.start - ranges[i].start, 0) + pieceShift(s.details[i], lines[i]);
    findings.push_back({i, column, collapsingWhitespace(s.matchedWords(k)), s.kinds[k]});
  }
  return findings;
}

}  // namespace

std::vector<std::string> grammarCheckLines(const std::vector<std::string>& lines) {
  return markAll(lines, exactScan(lines));
}

std::vector<std::string> grammarCheckLines(const std::vector<std::string_view>& lines) {
  return markAll(lines, exactScan(lines));
}

std::vector<GrammarFinding> passiveVoiceFindings(const std::vector<std::string>& lines) {
  return findAll(lines, exactScan(lines), GrammarRules{true, true, false});
}

std::vector<GrammarFinding> passiveVoiceFindings(const std::vector<std::string_view>& lines) {
  return findAll(lines, exactScan(lines), GrammarRules{true, true, false});
}

std::vector<std::string> proofreadGrammarLines(const std::vector<std::string>& lines, const GrammarRules& rules) {
  return markAll(lines, proseScan(lines, rules));
}

std::vector<std::string> proofreadGrammarLines(const std::vector<std::string_view>& lines,
                                               const GrammarRules& rules) {
  return markAll(lines, proseScan(lines, rules));
}

std::vector<GrammarFinding> grammarFindings(const std::vector<std::string_view>& lines,
                                                 const GrammarRules& rules) {
  return findAll(lines, proseScan(lines, rules), rules);
}

std::vector<GrammarFinding> grammarFindings(const std::vector<std::string>& lines, const GrammarRules& rules) {
  return findAll(lines, proseScan(lines, rules), rules);
}

std::vector<GrammarFinding> grammarFindings(const std::vector<std::string_view>& lines,
                                            std::span<const CommentFacts> facts, const GrammarRules& rules) {
  // "//" lines, inside a block comment too, are read as they always were.
  auto isSlashLine = [&](std::size_t i) {
    if (facts[i].role == CommentRole::wholeLine)
      return facts[i].markerAt < lines[i].size() &&
             lines[i].substr(facts[i].markerAt).starts_with(slashComments.lineMarker);
    return facts[i].inBlock() && startsWithLineComment(lines[i]);
  };
  if (facts.size() != lines.size()) return grammarFindings(lines, rules);
  bool allSlash = true;
  for (std::size_t i = 0; i < lines.size() && allSlash; ++i) allSlash = isSlashLine(i);
  if (allSlash) return grammarFindings(lines, rules);
  // Every line behind a "//" marker, which the search reads; columns move
  // back by what each line's own prefix is longer.
  std::vector<std::string> standIns;
  std::vector<std::int64_t> shifts;
  standIns.reserve(lines.size());
  shifts.reserve(lines.size());
  const std::string slash = std::string(slashComments.lineMarker) + " ";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (isSlashLine(i)) {
      standIns.emplace_back(lines[i]);
      shifts.push_back(0);
      continue;
    }
    const CommentLine parts = splitCommentLine(lines[i], facts[i]);
    const std::string_view text = parts.body.substr(parts.textOffset);
    standIns.push_back(text.empty() ? std::string(slashComments.lineMarker) : slash + std::string(text));
    shifts.push_back(static_cast<std::int64_t>(parts.lead.size() + parts.marker.size() + parts.textOffset) -
                     static_cast<std::int64_t>(slash.size()));
  }
  std::vector<GrammarFinding> found = grammarFindings(standIns, rules);
  for (GrammarFinding& f : found) f.column += shifts[f.line];
  return found;
}

}  // namespace brindlewort
