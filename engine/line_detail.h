#pragma once

// Classification of source lines: comment prefix, list item or not, text,
// and whether a line continues the paragraph or item before it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

// The line without one trailing LF, CR or CR-LF.
std::string_view droppingLineTerminator(std::string_view line);

// The slice up to and including its last character that is not whitespace or
// newline; unchanged when it has none.
std::string_view trimmingTrailingWhitespace(std::string_view text);

struct LineDetail {
  enum class Kind { nonListItem, listItem };

  Kind kind = Kind::nonListItem;
  std::optional<std::string_view> commentPrefix;
  std::string_view listPrefix;  // listItem only; never empty there
  std::string_view text;
  bool continuation = false;

  static LineDetail nonListItem(std::optional<std::string_view> commentPrefix,
                                std::string_view text, bool continuation);
  static LineDetail listItem(std::optional<std::string_view> commentPrefix,
                             std::string_view listPrefix, std::string_view text,
                             bool continuation);

  bool isListItem() const { return kind == Kind::listItem; }

  // Classifies one line given the classification of the line before it.
  // The slices point into `line`, which must outlive the result.
  static LineDetail parse(std::string_view line, const LineDetail* previous);

  // Same case and equal fields; slices compare by canonical equivalence.
  friend bool operator==(const LineDetail& a, const LineDetail& b);
};

// Classifies every line in order; the details point into `lines`.
std::vector<LineDetail> parseLines(const std::vector<std::string>& lines);
std::vector<LineDetail> parseLines(const std::vector<std::string_view>& lines);

// Whether a line with comment prefix `commentPrefix` continues the list item.
bool isListContinuation(const LineDetail& item, std::string_view commentPrefix);

// A non-list line whose comment prefix holds something besides whitespace.
bool isCommentLine(const LineDetail& detail);

// The prefix for an annotation line lined up under this line's text: the
// comment prefix with a list marker blanked out.
std::string hangingCommentPrefix(const LineDetail& detail);

}  // namespace brindlewort
