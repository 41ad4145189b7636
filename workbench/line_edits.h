#pragma once

// The smallest practical set of replacements that turns one list of lines
// into another, as UTF-16 ranges of the text the first list came from.
// Replacing only what changed keeps a re-wrap of a long document fast: the
// text view then lays out and recolours only the paragraphs that moved.

#include <QString>
#include <string>
#include <vector>

namespace brindlewort {

struct TextEdit {
  qsizetype start = 0;   // UTF-16 offset into the old text
  qsizetype length = 0;  // UTF-16 units replaced
  QString replacement;
  friend bool operator==(const TextEdit&, const TextEdit&) = default;
};

// Edits, in ascending order and not overlapping, that turn `text` (whose
// lines, split at line feeds, are `before`) into the lines `after` joined
// with line feeds. Lines equal in both are matched in order and kept; a
// stretch with no match within a short look-ahead becomes one edit, so the
// work stays linear in the size of the two lists.
std::vector<TextEdit> lineEditsBetween(const QString& text, const std::vector<std::string>& before,
                                       const std::vector<std::string>& after);

}  // namespace brindlewort
