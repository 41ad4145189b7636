#pragma once

// Changing the text view's text the way the user's own typing would: all
// the changes one command makes are one step of the view's undo history,
// and a read-only view is never changed.

#include <QString>
#include <vector>

#include "workbench/line_edits.h"

class QPlainTextEdit;

namespace brindlewort {

// The view's whole text with line feeds between lines; the offsets that
// edits of the view count in.
QString viewText(const QPlainTextEdit& view);

// Applies `edits` of the view's text from `offset` on (ascending, not
// overlapping) as one undo step; false, changing nothing, when the view is
// read-only or an edit reaches outside the text.
bool applyEditsUndoably(QPlainTextEdit& view, const std::vector<TextEdit>& edits, qsizetype offset = 0);

// Replaces the whole text by `newText` as one undo step; false when the
// view is read-only.
bool replaceWholeTextUndoably(QPlainTextEdit& view, const QString& newText);

}  // namespace brindlewort
