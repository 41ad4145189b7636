#pragma once

// Colours every line of a document by whether the lexer calls it a comment.
// The colours live in each line's layout, not in the document, so
// colouring never adds an undo step and never marks the document edited.
// Lines are recoloured as they change; a line whose colour is already
// right is left alone, so a full pass over an unchanged document is cheap.

#include <QObject>
#include <QTextCharFormat>

class QFont;
class QPalette;
class QTextBlock;
class QTextDocument;

namespace brindlewort {

class CommentHighlighter : public QObject {
  Q_OBJECT
 public:
  explicit CommentHighlighter(QTextDocument* document);

  // While inactive, lines keep the formatting they were loaded with (the
  // rich-text Welcome document) and changes are not coloured.
  void setActive(bool active);

  // Colours in the named comment colours for `palette`, in `font`, and
  // becomes active.
  void colourFor(const QPalette& palette, const QFont& font);

 private:
  // Sets the two formats; true when they differ from the ones in use.
  bool setFormats(const QTextCharFormat& comment, const QTextCharFormat& nonComment);
  void rehighlight();
  void reformatBlocks(int from, int charsRemoved, int charsAdded);
  void formatBlock(const QTextBlock& block);

  QTextDocument* document_;
  bool active_ = false;
  bool reformatting_ = false;
  QTextCharFormat comment_;
  QTextCharFormat nonComment_;
};

}  // namespace brindlewort
