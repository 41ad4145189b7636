#include "workbench/undoable_edit.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace brindlewort {

QString viewText(const QPlainTextEdit& view) {
  // The raw text keeps every character as typed (no-break spaces included);
  // only the block separators become line feeds.
  QString text = view.document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

bool applyEditsUndoably(QPlainTextEdit& view, const std::vector<TextEdit>& edits, qsizetype offset) {
  // A read-only view refuses changes: the Welcome document, and any text
  // while the lint command waits for its reply.
  if (view.isReadOnly()) return false;
  QTextDocument* document = view.document();
  const qsizetype length = document->characterCount() - 1;
  for (const TextEdit& edit : edits) {
    if (offset + edit.start < 0 || edit.length < 0 || offset + edit.start + edit.length > length) return false;
  }
  // Back to front, so the offsets of the edits still to come stay valid.
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
    cursor.setPosition(static_cast<int>(offset + edit->start));
    cursor.setPosition(static_cast<int>(offset + edit->start + edit->length), QTextCursor::KeepAnchor);
    cursor.insertText(edit->replacement);
  }
  cursor.endEditBlock();
  return true;
}

bool replaceWholeTextUndoably(QPlainTextEdit& view, const QString& newText) {
  return applyEditsUndoably(view, {{0, view.document()->characterCount() - 1, newText}});
}

}  // namespace brindlewort
