#include "line_detail.h"

#include "characters.h"
#include "comment_detection.h"
#include "comment_detection_internal.h"
#include "grapheme_cursor.h"
#include "scalar_decoding.h"

namespace brindlewort {

namespace {

bool optionalSame(const std::optional<std::string_view>& a, const std::optional<std::string_view>& b) {
  if (!a || !b) return !a && !b;
  return sameCharacters(*a, *b);
}

// A prefix that holds anything besides blanks: a real comment marker rather
// than plain indentation.
bool holdsNonWhitespace(std::string_view prefix) {
  for (std::size_t pos = 0; pos < prefix.size();) {
    if (!isWhitespaceScalar(nextScalar(prefix, pos))) return true;
  }
  return false;
}

// Number of words when the prefix is split at spaces, capped at two: only
// "none", "one" and "more" matter.
int prefixWordCount(std::string_view prefix) {
  int words = 0;
  std::size_t pos = 0;
  while (pos < prefix.size() && words < 2) {
    pos = prefix.find_first_not_of(' ', pos);
    if (pos == std::string_view::npos) break;
    ++words;
    pos = prefix.find(' ', pos);
    if (pos == std::string_view::npos) break;
  }
  return words;
}

bool isOnlySpaces(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

template <typename Lines>
std::vector<LineDetail> parseAll(const Lines& lines) {
  std::vector<LineDetail> result;
  result.reserve(lines.size());
  for (const auto& line : lines) {
    const LineDetail* previous = result.empty() ? nullptr : &result.back();
    result.push_back(LineDetail::parse(droppingLineTerminator(line), previous));
  }
  return result;
}

}  // namespace

std::string_view droppingLineTerminator(std::string_view line) {
  if (line.ends_with("\r\n")) return line.substr(0, line.size() - 2);
  if (line.ends_with('\n') || line.ends_with('\r')) return line.substr(0, line.size() - 1);
  return line;
}

std::string_view trimmingTrailingWhitespace(std::string_view text) {
  std::size_t pos = text.size();
  while (pos > 0) {
    const char32_t c = previousScalar(text, pos);
    if (!isWhitespaceOrNewlineScalar(c)) {
      GraphemeCursor cursor(text);
      return text.substr(0, cursor.characterEnd(cursor.characterStart(pos)));
    }
  }
  return text;
}

LineDetail LineDetail::nonListItem(std::optional<std::string_view> commentPrefix,
                                   std::string_view text, bool continuation) {
  LineDetail detail;
  detail.kind = Kind::nonListItem;
  detail.commentPrefix = commentPrefix;
  detail.text = text;
  detail.continuation = continuation;
  return detail;
}

LineDetail LineDetail::listItem(std::optional<std::string_view> commentPrefix,
                                std::string_view listPrefix, std::string_view text,
                                bool continuation) {
  LineDetail detail;
  detail.kind = Kind::listItem;
  detail.commentPrefix = commentPrefix;
  detail.listPrefix = listPrefix;
  detail.text = text;
  detail.continuation = continuation;
  return detail;
}

LineDetail LineDetail::parse(std::string_view line, const LineDetail* previous) {
  const std::string_view L = droppingLineTerminator(line);
  const bool mayHave = mayHavePrefix(L);
  const auto start = textStart(L);
  const auto CP = commentPrefixGiven(L, mayHave, start);
  const auto LP = listPrefixGiven(L, mayHave, start, CP);
  const std::string_view T = trimmingTrailingWhitespace(L);

  // T is L without trailing whitespace, and neither text-start rule can
  // stop inside that whitespace differently, so L's text start serves T
  // whenever it lies inside T.
  std::string_view text;
  if (start && *start < T.size()) text = T.substr(*start);

  const int words = CP ? prefixWordCount(*CP) : 0;
  const std::optional<std::string_view> marked = words > 0 ? CP : std::nullopt;

  // A list part of its own: a new item, or a wrapped line of one whose
  // prefix is the marker and blanks, as long as the previous item's.
  if (LP && !LP->empty() && (!CP || !sameCharacters(*CP, *LP))) {
    const bool continued = words == 1 && previous && previous->isListItem() &&
                           previous->commentPrefix &&
                           characterCount(*previous->commentPrefix) == characterCount(*CP);
    return listItem(marked, *LP, text, continued);
  }

  if (CP && !CP->empty() && previous && previous->isListItem() &&
      isListContinuation(*previous, *CP)) {
    return listItem(marked, *CP, text, true);
  }

  const bool continued = !text.empty() && previous && !previous->text.empty() &&
                         optionalSame(previous->commentPrefix, CP) &&
                         (CP && holdsNonWhitespace(*CP)) == isCommentLine(*previous);
  return nonListItem(CP, text, continued);
}

bool operator==(const LineDetail& a, const LineDetail& b) {
  if (a.kind != b.kind || a.continuation != b.continuation) return false;
  if (!optionalSame(a.commentPrefix, b.commentPrefix)) return false;
  if (a.kind == LineDetail::Kind::listItem && !sameCharacters(a.listPrefix, b.listPrefix)) {
    return false;
  }
  return sameCharacters(a.text, b.text);
}

std::vector<LineDetail> parseLines(const std::vector<std::string>& lines) { return parseAll(lines); }

std::vector<LineDetail> parseLines(const std::vector<std::string_view>& lines) {
  return parseAll(lines);
}

bool isListContinuation(const LineDetail& item, std::string_view commentPrefix) {
  if (item.continuation) {
    return item.commentPrefix && sameCharacters(*item.commentPrefix, commentPrefix);
  }
  if (isOnlySpaces(commentPrefix)) {
    // An indented line under a list without comment marker, aligned with
    // the item's text.
    return characterCount(commentPrefix) == characterCount(item.listPrefix);
  }
  return item.commentPrefix && sameCharacters(*item.commentPrefix, commentPrefix);
}

bool isCommentLine(const LineDetail& detail) {
  return !detail.isListItem() && detail.commentPrefix && holdsNonWhitespace(*detail.commentPrefix);
}

std::string hangingCommentPrefix(const LineDetail& detail) {
  if (!detail.commentPrefix) return {};
  const std::string_view prefix = *detail.commentPrefix;
  if (!detail.isListItem() || detail.listPrefix.empty()) return std::string(prefix);

  return blankingOccurrences(prefix, detail.listPrefix, SearchDirection::forward);
}

}  // namespace brindlewort
