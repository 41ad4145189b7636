#pragma once

// Colours every line of a document by whether the lexer of the document's
// language calls it a comment; in plain text every line is prose.
// The colours live in each line's layout, not in the document, so
// colouring never adds an undo step and never marks the document edited.
// Lines are recoloured as they change; a line whose colour is already
// right is left alone, so a full pass over an unchanged document is cheap.

#include <QObject>
#include <QTextCharFormat>
#include <vector>

class QFont;
class QPalette;
class QTextBlock;
class QTextDocument;

namespace brindlewort {

struct SourceLanguage;

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

  // The language whose comments are coloured; null for plain text.
  void setLanguage(const SourceLanguage* language);

 private:
  // Sets the two formats; true when they differ from the ones in use.
  bool setFormats(const QTextCharFormat& comment, const QTextCharFormat& nonComment);
  void rehighlight();
  void reformatBlocks(int from, int charsRemoved, int charsAdded);
  // Whether each line is a comment, as the language's lexer reads the
  // whole document now.
  std::vector<bool> commentLines() const;
  void formatBlock(const QTextBlock& block, bool comment);

  QTextDocument* document_;
  bool active_ = false;
  bool reformatting_ = false;
  const SourceLanguage* language_ = nullptr;
  QTextCharFormat comment_;
  QTextCharFormat nonComment_;
};

}  // namespace brindlewort
