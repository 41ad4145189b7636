#pragma once

// Widening a selection to whole lines. Positions are UTF-16 offsets into the
// text view's string; nothing here reads outside the text.

#include <QStringView>

namespace brindlewort {

struct TextRange {
  qsizetype start = 0;
  qsizetype length = 0;
  qsizetype end() const { return start + length; }
  friend bool operator==(const TextRange&, const TextRange&) = default;
};

// True for the newline class: U+000A to U+000D, U+0085, U+2028, U+2029.
bool isNewline(QChar c);

// The first position of the line holding `position`.
qsizetype lineStart(QStringView text, qsizetype position);

// The position after the last line that `selection` touches: a selection
// ending on a line feed stops there, one ending right before a line feed
// takes it in, and the last line of the text runs to the text's end.
qsizetype lineEnd(QStringView text, TextRange selection);

// The selection widened to whole lines.
TextRange wholeLines(QStringView text, TextRange selection);

}  // namespace brindlewort
