#include "workbench/samples_view_controller.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <array>
#include <cstdio>
#include <utility>

#include "engine/comment_length.h"
#include "engine/rewrap.h"
#include "helper/client/auto_correction_client.h"
#include "proofreading/grammar_check.h"
#include "proofreading/spell_check.h"
#include "settings/shared_settings.h"
#include "workbench/comment_highlighter.h"
#include "workbench/line_lists.h"
#include "workbench/named_colors.h"
#include "workbench/sample_loading.h"
#include "workbench/spell_checker_factory.h"

namespace brindlewort {

namespace {

struct Command {
  const char* selector;
  const char* title;
  QKeySequence shortcut;
  void (SamplesViewController::*slot)();
};

const std::array<Command, 10>& commands() {
  using S = SamplesViewController;
  static const std::array<Command, 10> list{{
      {"showOriginal:", "Show Original", QKeySequence(QStringLiteral("Ctrl+Shift+O")), &S::showOriginal},
      {"wrap:", "Wrap Comments", QKeySequence(QStringLiteral("Ctrl+Shift+W")), &S::wrap},
      {"wrapSelectedComments:", "Wrap Selected Comments", QKeySequence(QStringLiteral("Ctrl+Alt+W")),
       &S::wrapSelectedComments},
      {"unwrap:", "Unwrap Comments", QKeySequence(QStringLiteral("Ctrl+Shift+U")), &S::unwrap},
      {"unwrapSelectedComments:", "Unwrap Selected Comments", QKeySequence(QStringLiteral("Ctrl+Alt+U")),
       &S::unwrapSelectedComments},
      {"checkAllSpelling:", "Check Spelling", QKeySequence(QStringLiteral("Ctrl+Shift+S")),
       &S::checkAllSpelling},
      {"checkSpellingInSelection:", "Check Spelling in Selection", QKeySequence(QStringLiteral("Ctrl+Alt+S")),
       &S::checkSpellingInSelection},
      {"checkAllGrammar:", "Check Grammar", QKeySequence(QStringLiteral("Ctrl+Shift+G")), &S::checkAllGrammar},
      {"checkGrammarInSelection:", "Check Grammar in Selection", QKeySequence(QStringLiteral("Ctrl+Alt+G")),
       &S::checkGrammarInSelection},
      {"runSwiftLint:", "Lint with Helper", QKeySequence(QStringLiteral("Ctrl+Shift+L")), &S::runSwiftLint},
  }};
  return list;
}

// The commands whose menu items follow the sample's editability. The
// grammar commands are left out on purpose: their items stay enabled and
// simply do nothing on a read-only sample.
bool followsEditability(const QString& selector) {
  static const std::array<const char*, 7> selectors{
      "checkAllSpelling:", "checkSpellingInSelection:", "wrap:", "wrapSelectedComments:",
      "unwrap:", "unwrapSelectedComments:", "runSwiftLint:"};
  for (const char* s : selectors) {
    if (selector == QLatin1String(s)) return true;
  }
  return false;
}

QFont fixedPitchFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(12.0);
  return font;
}

SamplesViewController::AutoCorrectionRequest helperServiceRequest() {
  return [](const QString& text, QObject* context, std::function<void(std::optional<QString>)> done,
            std::chrono::milliseconds bound) {
    requestAutoCorrectionAsync(text, context, std::move(done), bound);
  };
}

}  // namespace

SamplesViewController::SamplesViewController(QWidget* parent, std::vector<SampleItem> samples)
    : QWidget(parent),
      samples_(std::move(samples)),
      sampleFolder_(QString::fromLatin1(defaultSampleFolder)),
      spellChecker_(makeSystemSpellChecker()),
      autoCorrectionRequest_(helperServiceRequest()),
      autoCorrectionBound_(autoCorrectionReplyBound) {
  buildView();
  buildActions();
  fillPopupButton();
  loadSelectedSample(popupButton_);

  // A change of the setting re-wraps one turn of the event loop later, so
  // the slider action that caused it returns first; each change gets its
  // own turn and reads the length when it runs.
  connect(&SharedSettings::shared(), &SharedSettings::maxCommentLengthDidChange, this, [this] {
    QMetaObject::invokeMethod(this, &SamplesViewController::rewrapAfterSettingChange,
                              Qt::QueuedConnection);
  });
}

SamplesViewController::~SamplesViewController() { *alive_ = false; }

void SamplesViewController::buildView() {
  textView_ = new QPlainTextEdit(this);
  textView_->setObjectName(QStringLiteral("textView"));
  textView_->setFont(fixedPitchFont());
  textView_->setLineWrapMode(QPlainTextEdit::NoWrap);
  textView_->setTabChangesFocus(false);
  highlighter_ = new CommentHighlighter(textView_->document());

  popupButton_ = new QComboBox(this);
  popupButton_->setObjectName(QStringLiteral("popupButton"));
  connect(popupButton_, &QComboBox::activated, this, &SamplesViewController::showSample);

  auto makeButton = [this](const char* title, const char* name, void (SamplesViewController::*slot)()) {
    auto* button = new QPushButton(tr(title), this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, slot);
    return button;
  };
  showOriginalButton_ = makeButton("Show Original", "showOriginalButton", &SamplesViewController::showOriginal);
  wrapButton_ = makeButton("Wrap", "wrapButton", &SamplesViewController::wrap);
  unwrapButton_ = makeButton("Unwrap", "unwrapButton", &SamplesViewController::unwrap);
  spellCheckButton_ = makeButton("Spelling", "spellCheckButton", &SamplesViewController::checkAllSpelling);
  lintButton_ = makeButton("Lint", "lintButton", &SamplesViewController::runSwiftLint);
  grammarButton_ = makeButton("Grammar", "grammarButton", &SamplesViewController::checkAllGrammar);

  auto* controls = new QHBoxLayout;
  controls->addWidget(popupButton_, 1);
  for (QPushButton* button : commandButtons()) controls->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(controls);
  layout->addWidget(textView_, 1);
}

void SamplesViewController::buildActions() {
  for (const Command& command : commands()) {
    auto* action = new QAction(tr(command.title), this);
    action->setObjectName(QLatin1String(command.selector));
    action->setShortcut(command.shortcut);
    connect(action, &QAction::triggered, this, command.slot);
    commandActions_.append(action);
  }
}

QList<QPushButton*> SamplesViewController::commandButtons() const {
  return {showOriginalButton_, wrapButton_, unwrapButton_, spellCheckButton_, lintButton_, grammarButton_};
}

QAction* SamplesViewController::commandAction(const QString& selector) const {
  for (QAction* action : commandActions_) {
    if (action->objectName() == selector) return action;
  }
  return nullptr;
}

void SamplesViewController::fillPopupButton() {
  popupButton_->clear();
  // Separators are real items, so a pop-up index is a catalogue index.
  for (const SampleItem& item : samples_) {
    if (item.displayName.isEmpty()) {
      popupButton_->insertSeparator(popupButton_->count());
    } else {
      popupButton_->addItem(item.displayName);
    }
  }
  popupButton_->setCurrentIndex(0);
}

const SampleItem& SamplesViewController::currentSample() const {
  const int index = popupButton_->currentIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= samples_.size()) return SampleItem::separator();
  return samples_[static_cast<std::size_t>(index)];
}

// --- Loading -----------------------------------------------------------

void SamplesViewController::showSample() {
  if (waitingForHelper_) return;  // the helper's reply belongs to the text on show
  loadSelectedSample(popupButton_);
}

void SamplesViewController::showOriginal() {
  if (waitingForHelper_) return;  // the helper's reply belongs to the text on show
  loadSelectedSample(popupButton_);
}

void SamplesViewController::loadSelectedSample(const QComboBox* popup) {
  const int index = popup->currentIndex();
  const SampleItem& item = (index >= 0 && static_cast<std::size_t>(index) < samples_.size())
                               ? samples_[static_cast<std::size_t>(index)]
                               : SampleItem::separator();
  const SampleContent content = loadSampleContent(sampleFolder_, item.fileName);

  // Rich text keeps its own formatting, so the highlighter must be off
  // before the new blocks are laid out.
  highlighter_->setActive(item.allowsCommentation);
  switch (content.kind) {
    case SampleContent::Kind::folderMissing:
      break;
    case SampleContent::Kind::plainText:
      // Source lines are never wrapped on screen: their length is the point.
      textView_->setLineWrapMode(QPlainTextEdit::NoWrap);
      textView_->setPlainText(content.text);
      break;
    case SampleContent::Kind::richText:
      textView_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      textView_->setPlainText(QString());
      if (!content.text.isEmpty()) textView_->document()->setHtml(content.text);
      break;
  }
  textView_->setReadOnly(!item.allowsCommentation);
  updateCommandStates();
  highlightComments();
}

// --- Highlighting ------------------------------------------------------

void SamplesViewController::highlightComments() {
  if (!currentSample().allowsCommentation) return;
  const QFont font = fixedPitchFont();
  const std::optional<QColor> commentColor = namedColor(QLatin1String(commentColorName), palette());
  const std::optional<QColor> nonCommentColor = namedColor(QLatin1String(nonCommentColorName), palette());
  if (!commentColor || !nonCommentColor) return;

  QTextCharFormat comment;
  comment.setFont(font);
  comment.setForeground(*commentColor);
  QTextCharFormat nonComment;
  nonComment.setFont(font);
  nonComment.setForeground(*nonCommentColor);

  // The highlighter colours every changed line as the change happens, so a
  // full pass is only needed when the colours or the activation change.
  const bool formatsChanged = highlighter_->setFormats(comment, nonComment);
  const bool wasActive = highlighter_->isActive();
  highlighter_->setActive(true);
  if (formatsChanged || !wasActive) highlighter_->rehighlight();
}

void SamplesViewController::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) highlightComments();
}

// --- Text access -------------------------------------------------------

QString SamplesViewController::wholeText() const {
  // The raw text keeps every character as typed (no-break spaces included);
  // only the block separators become line feeds.
  QString text = textView_->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

bool SamplesViewController::replaceTextUndoably(const QString& newText, TextRange range, bool wholeText) {
  QTextDocument* document = textView_->document();
  const qsizetype length = document->characterCount() - 1;
  if (wholeText) range = {0, length};
  // A read-only view refuses changes: the Welcome document, and any text
  // while the lint command waits for its reply.
  if (textView_->isReadOnly()) return false;
  if (range.start < 0 || range.length < 0 || range.end() > length) return false;

  QTextCursor cursor(document);
  cursor.setPosition(static_cast<int>(range.start));
  cursor.setPosition(static_cast<int>(range.end()), QTextCursor::KeepAnchor);
  cursor.beginEditBlock();
  cursor.insertText(newText);
  cursor.endEditBlock();
  return true;
}

bool SamplesViewController::applyEditsUndoably(const std::vector<TextEdit>& edits, qsizetype offset) {
  if (textView_->isReadOnly()) return false;
  QTextDocument* document = textView_->document();
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

TextRange SamplesViewController::selectWholeLines() {
  const QString text = wholeText();
  const QTextCursor current = textView_->textCursor();
  const TextRange selection{current.selectionStart(), current.selectionEnd() - current.selectionStart()};
  const TextRange widened = wholeLines(text, selection);
  QTextCursor cursor = textView_->textCursor();
  cursor.setPosition(static_cast<int>(widened.start));
  cursor.setPosition(static_cast<int>(widened.end()), QTextCursor::KeepAnchor);
  textView_->setTextCursor(cursor);
  return widened;
}

// --- Commands ----------------------------------------------------------

void SamplesViewController::wrap() { applyRewrap(SharedSettings::shared().maxCommentLength(), false); }

void SamplesViewController::wrapSelectedComments() {
  selectWholeLines();
  applyRewrap(SharedSettings::shared().maxCommentLength(), true);
}

void SamplesViewController::unwrap() { applyRewrap(noCommentLengthLimit, false); }

void SamplesViewController::unwrapSelectedComments() {
  selectWholeLines();
  applyRewrap(noCommentLengthLimit, true);
}

void SamplesViewController::rewrapAfterSettingChange() {
  applyRewrap(SharedSettings::shared().maxCommentLength(), false);
}

void SamplesViewController::applyRewrap(std::int64_t maxLength, bool selectionOnly) {
  if (!currentSample().allowsCommentation) return;
  const QTextCursor cursor = textView_->textCursor();
  const TextRange selection{cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
  const QString text = wholeText();
  const QString input = selectionOnly ? text.mid(selection.start, selection.length) : text;

  // Compared as UTF-8, the form the engine sees, so a round trip through
  // the engine that changes nothing never counts as a change. Only the
  // lines that changed are replaced, all in one undo step.
  const std::vector<std::string> before = splitLines(input.toStdString());
  std::vector<std::string> after = rewrapLines(before, maxLength);
  if (after.empty()) after = before;
  if (after != before) {
    applyEditsUndoably(lineEditsBetween(input, before, after), selectionOnly ? selection.start : 0);
  }
  highlightComments();
}

std::vector<std::string> SamplesViewController::spellCheck(const std::vector<std::string>& lines) const {
  if (!spellChecker_) return lines;
  return spellCheckLines(lines, *spellChecker_);
}

void SamplesViewController::applyToWholeText(const LineTransform& transform) {
  if (!currentSample().allowsCommentation) return;
  const QString text = wholeText();
  const std::vector<std::string> lines = linesOfText(text);
  const std::vector<std::string> checked = transform(lines);
  // Replaced even when nothing was found, so the check is one undo step;
  // otherwise only the places that changed (the inserted marker lines).
  if (checked == lines) {
    replaceTextUndoably(textOfLines(checked), {}, true);
  } else {
    applyEditsUndoably(lineEditsBetween(text, lines, checked), 0);
  }
  highlightComments();
}

bool SamplesViewController::applyToSelection(const LineTransform& transform) {
  const TextRange range = selectWholeLines();
  const QString selected = wholeText().mid(range.start, range.length);
  const std::vector<std::string> lines = linesOfText(selected);
  const std::vector<std::string> checked = transform(lines);
  if (checked == lines) return false;
  return applyEditsUndoably(lineEditsBetween(selected, lines, checked), range.start);
}

void SamplesViewController::checkAllSpelling() {
  applyToWholeText([this](const std::vector<std::string>& lines) { return spellCheck(lines); });
}

void SamplesViewController::checkSpellingInSelection() {
  if (!currentSample().allowsCommentation) return;
  applyToSelection([this](const std::vector<std::string>& lines) { return spellCheck(lines); });
}

void SamplesViewController::checkAllGrammar() {
  applyToWholeText([](const std::vector<std::string>& lines) { return grammarCheckLines(lines); });
}

void SamplesViewController::checkGrammarInSelection() {
  if (!currentSample().allowsCommentation) return;
  applyToSelection([](const std::vector<std::string>& lines) { return grammarCheckLines(lines); });
  highlightComments();
}

void SamplesViewController::setSpellChecker(std::shared_ptr<const SpellChecker> checker) {
  spellChecker_ = std::move(checker);
}

// --- Lint through the helper ------------------------------------------

void SamplesViewController::setAutoCorrectionRequest(AutoCorrectionRequest request) {
  autoCorrectionRequest_ = request ? std::move(request) : helperServiceRequest();
}

void SamplesViewController::runSwiftLint() { requestAutoCorrection(); }

void SamplesViewController::requestAutoCorrection() {
  if (waitingForHelper_) return;
  // The window keeps painting while the helper works; the text is locked
  // until the reply or the deadline, so nothing typed meanwhile can be
  // overwritten by the correction.
  setWaitingForHelper(true);
  std::weak_ptr<bool> alive = alive_;
  autoCorrectionRequest_(
      wholeText(), this,
      [this, alive](std::optional<QString> corrected) {
        if (alive.expired() || !*alive.lock()) return;
        setWaitingForHelper(false);
        if (corrected && !corrected->isEmpty()) replaceTextUndoably(*corrected, {}, true);
        highlightComments();
        emit autoCorrectionFinished();
      },
      autoCorrectionBound_);
}

void SamplesViewController::setWaitingForHelper(bool waiting) {
  waitingForHelper_ = waiting;
  textView_->setReadOnly(waiting || !currentSample().allowsCommentation);
  if (waiting) {
    setCursor(Qt::BusyCursor);
    textView_->viewport()->setCursor(Qt::BusyCursor);
  } else {
    unsetCursor();
    textView_->viewport()->setCursor(Qt::IBeamCursor);
  }
  updateCommandStates();
}

// --- Validation --------------------------------------------------------

bool SamplesViewController::isCommandEnabled(const QString& selector) const {
  if (selector.isEmpty()) return true;
  if (waitingForHelper_ && commandAction(selector)) return false;
  if (followsEditability(selector)) return currentSample().allowsCommentation;
  return true;
}

bool SamplesViewController::validateUserInterfaceItem(QAction* item) {
  const bool editable = currentSample().allowsCommentation;
  const QString description =
      QStringLiteral("<QAction: %1, shortcut: %2>")
          .arg(item->text(), item->shortcut().toString(QKeySequence::PortableText));
  const QByteArray line = QStringLiteral("Checking item: %1, editable: %2\n")
                              .arg(description, editable ? QStringLiteral("true") : QStringLiteral("false"))
                              .toUtf8();
  std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
  std::fflush(stdout);
  return isCommandEnabled(item->objectName());
}

void SamplesViewController::validateMenu(QMenu* menu) {
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || action->menu()) continue;
    action->setEnabled(validateUserInterfaceItem(action));
  }
}

void SamplesViewController::updateCommandStates() {
  // Keyboard shortcuts fire without the menu being opened, so the actions
  // are kept current here as well as on menu validation.
  for (QAction* action : commandActions_) action->setEnabled(isCommandEnabled(action->objectName()));
  const bool usable = currentSample().allowsCommentation && !waitingForHelper_;
  for (QPushButton* button : commandButtons()) button->setEnabled(usable);
  popupButton_->setEnabled(!waitingForHelper_);
}

}  // namespace brindlewort
