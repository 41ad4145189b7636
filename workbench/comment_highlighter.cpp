#include "workbench/comment_highlighter.h"

#include <QFont>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <string>

#include "reflow/comment_facts.h"
#include "reflow/comment_lexer.h"
#include "reflow/source_language.h"
#include "workbench/named_colors.h"

namespace brindlewort {

CommentHighlighter::CommentHighlighter(QTextDocument* document) : QObject(document), document_(document) {
  connect(document_, &QTextDocument::contentsChange, this, &CommentHighlighter::reformatBlocks);
}

void CommentHighlighter::setActive(bool active) { active_ = active; }

bool CommentHighlighter::setFormats(const QTextCharFormat& comment, const QTextCharFormat& nonComment) {
  if (comment == comment_ && nonComment == nonComment_) return false;
  comment_ = comment;
  nonComment_ = nonComment;
  return true;
}

void CommentHighlighter::colourFor(const QPalette& palette, const QFont& font) {
  const std::optional<QColor> commentColor = namedColor(QLatin1String(commentColorName), palette);
  const std::optional<QColor> nonCommentColor = namedColor(QLatin1String(nonCommentColorName), palette);
  if (!commentColor || !nonCommentColor) return;

  QTextCharFormat comment;
  comment.setFont(font);
  comment.setForeground(*commentColor);
  QTextCharFormat nonComment;
  nonComment.setFont(font);
  nonComment.setForeground(*nonCommentColor);

  // Every changed line is coloured as the change happens, so a full pass
  // is only needed when the colours or the activation change.
  const bool formatsChanged = setFormats(comment, nonComment);
  const bool wasActive = active_;
  active_ = true;
  if (formatsChanged || !wasActive) rehighlight();
}

void CommentHighlighter::setLanguage(const SourceLanguage* language) {
  if (language == language_) return;
  language_ = language;
  if (active_) rehighlight();
}

std::vector<bool> CommentHighlighter::commentLines() const {
  std::vector<bool> comment(static_cast<std::size_t>(document_->blockCount()), language_ == nullptr);
  if (!language_) return comment;
  // A block comment or a string opened many lines up decides what a line
  // is, so the lexer reads the whole text, as Wrap does.
  QString text = document_->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  const std::string bytes = text.toStdString();
  const CommentMap facts = lexComments(bytes, language_);
  for (std::size_t line = 0; line < comment.size() && line < facts.size(); ++line) {
    comment[line] = facts[line].role != CommentRole::code;
  }
  return comment;
}

void CommentHighlighter::rehighlight() {
  reformatting_ = true;
  const std::vector<bool> comment = commentLines();
  for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
    formatBlock(block, comment[static_cast<std::size_t>(block.blockNumber())]);
  }
  reformatting_ = false;
}

void CommentHighlighter::reformatBlocks(int from, int /*charsRemoved*/, int charsAdded) {
  // Our own layout changes report back as content changes; they need no
  // second pass.
  if (!active_ || reformatting_) return;
  reformatting_ = true;
  const std::vector<bool> comment = commentLines();
  // An opened or closed block comment changes the lines after it, not only
  // the changed ones; lines whose colour is right are left alone.
  const int first = language_ ? 0 : document_->findBlock(from).blockNumber();
  const QTextBlock last = document_->findBlock(from + charsAdded);
  for (QTextBlock block = document_->findBlockByNumber(first); block.isValid(); block = block.next()) {
    formatBlock(block, comment[static_cast<std::size_t>(block.blockNumber())]);
    if (!language_ && block == last) break;
  }
  reformatting_ = false;
}

void CommentHighlighter::formatBlock(const QTextBlock& block, bool comment) {
  QTextLayout* layout = block.layout();
  if (!layout) return;
  const QString text = block.text();
  // A block never holds its line feed, but a carriage return of a CR-LF
  // pair may survive a paste; it is a terminator, not part of the line.
  const qsizetype length = text.endsWith(u'\r') ? text.size() - 1 : text.size();

  QList<QTextLayout::FormatRange> formats;
  if (length > 0) formats.append({0, static_cast<int>(length), comment ? comment_ : nonComment_});
  const QList<QTextLayout::FormatRange> current = layout->formats();
  if (current.size() == formats.size() &&
      (formats.isEmpty() || (current[0].start == formats[0].start && current[0].length == formats[0].length &&
                             current[0].format == formats[0].format))) {
    return;
  }
  layout->setFormats(formats);
  document_->markContentsDirty(block.position(), block.length());
}

}  // namespace brindlewort
