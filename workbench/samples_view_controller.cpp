#include "workbench/samples_view_controller.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLoggingCategory>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cstdio>
#include <utility>

#include "engine/comment_length.h"
#include "engine/rewrap.h"
#include "proofreading/grammar_check.h"
#include "proofreading/comment_spelling.h"
#include "proofreading/project_spelling.h"
#include "reflow/comment_line_corrections.h"
#include "settings/shared_settings.h"
#include "workbench/comment_highlighter.h"
#include "workbench/line_list_reflow.h"
#include "workbench/fixed_pitch_font.h"
#include "workbench/line_edits.h"
#include "workbench/line_lists.h"
#include "workbench/sample_loading.h"
#include "workbench/spell_checker_factory.h"
#include "workbench/undoable_edit.h"
#include "workbench/workbench_commands.h"

namespace brindlewort {

namespace {

Q_LOGGING_CATEGORY(lintLog, "brindlewort.workbench")

// The menu title without its mnemonic marker, for buttons and log lines.
QString plainTitle(QString title) { return title.remove(u'&'); }

}  // namespace

SamplesViewController::SamplesViewController(QWidget* parent, std::vector<SampleItem> samples)
    : QWidget(parent),
      samples_(std::move(samples)),
      sampleFolder_(QString::fromLatin1(defaultSampleFolder)),
      autoCorrectionRequest_(helperServiceRequest()),
      autoCorrectionBound_(helperReplyBound()) {
  if (Result<std::shared_ptr<const SpellChecker>> made = makeSystemSpellChecker()) {
    spellChecker_ = std::move(*made);
  } else {
    noDictionaryReason_ = QString::fromStdString(made.error());
  }
  buildView();
  buildActions();
  fillSamplePopup(*popupButton_, samples_);
  loadSelectedSample();

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
  textView_->setFont(workbenchFont());
  textView_->setLineWrapMode(QPlainTextEdit::NoWrap);
  textView_->setTabChangesFocus(false);
  textView_->setAccessibleName(tr("Sample text"));
  // Tab is typed into the text; Ctrl+Tab and Ctrl+Shift+Tab leave it.
  textView_->installEventFilter(this);
  highlighter_ = new CommentHighlighter(textView_->document());

  popupButton_ = new QComboBox(this);
  popupButton_->setObjectName(QStringLiteral("popupButton"));
  popupButton_->setAccessibleName(tr("Sample"));
  connect(popupButton_, &QComboBox::activated, this, &SamplesViewController::showSample);

  // One button per whole-text command, titled and ordered as in the menu.
  auto makeButton = [this](const char* selector, const char* name) {
    const WorkbenchCommand* command = findWorkbenchCommand(QLatin1String(selector));
    const QString title = plainTitle(tr(command->title));
    auto* button = new QPushButton(title, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(
        title, QKeySequence(QString::fromLatin1(command->shortcut)).toString(QKeySequence::NativeText)));
    connect(button, &QPushButton::clicked, this, command->slot);
    return button;
  };
  showOriginalButton_ = makeButton("showOriginal:", "showOriginalButton");
  wrapButton_ = makeButton("wrap:", "wrapButton");
  unwrapButton_ = makeButton("unwrap:", "unwrapButton");
  spellCheckButton_ = makeButton("checkAllSpelling:", "spellCheckButton");
  grammarButton_ = makeButton("checkAllGrammar:", "grammarButton");
  lintButton_ = makeButton("runSwiftLint:", "lintButton");

  auto* sampleLabel = new QLabel(tr("&Sample:"), this);
  sampleLabel->setBuddy(popupButton_);
  auto* picker = new QHBoxLayout;
  picker->addWidget(sampleLabel);
  picker->addWidget(popupButton_, 1);

  auto* controls = new QHBoxLayout;
  for (QPushButton* button : commandButtons()) controls->addWidget(button);
  controls->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(picker);
  layout->addLayout(controls);
  layout->addWidget(textView_, 1);

  statusLine_ = new QLabel(this);
  statusLine_->setObjectName(QStringLiteral("statusLine"));
  statusLine_->setWordWrap(true);
  statusLine_->hide();
  layout->addWidget(statusLine_);
}

void SamplesViewController::buildActions() {
  for (const WorkbenchCommand& command : workbenchCommands()) {
    auto* action = new QAction(tr(command.title), this);
    action->setObjectName(QLatin1String(command.selector));
    action->setShortcut(QKeySequence(QString::fromLatin1(command.shortcut)));
    connect(action, &QAction::triggered, this, command.slot);
    commandActions_.append(action);
  }
}

QList<QPushButton*> SamplesViewController::commandButtons() const {
  return {showOriginalButton_, wrapButton_, unwrapButton_, spellCheckButton_, grammarButton_, lintButton_};
}

QList<QWidget*> SamplesViewController::tabOrder() const {
  QList<QWidget*> order{popupButton_};
  for (QPushButton* button : commandButtons()) order.append(button);
  order.append(textView_);
  return order;
}

bool SamplesViewController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == textView_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers().testFlag(Qt::ControlModifier) &&
        (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
      const bool forward = key->key() == Qt::Key_Tab && !key->modifiers().testFlag(Qt::ShiftModifier);
      focusNextPrevChild(forward);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

QAction* SamplesViewController::commandAction(const QString& selector) const {
  for (QAction* action : commandActions_) {
    if (action->objectName() == selector) return action;
  }
  return nullptr;
}

const SampleItem& SamplesViewController::currentSample() const {
  return sampleAt(samples_, popupButton_->currentIndex());
}

// --- Loading -----------------------------------------------------------

void SamplesViewController::showSample() {
  if (waitingForHelper_) return;  // the helper's reply belongs to the text on show
  loadSelectedSample();
}

void SamplesViewController::showOriginal() { showSample(); }

void SamplesViewController::loadSelectedSample() {
  const SampleItem& item = currentSample();
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

// --- Colouring ---------------------------------------------------------

void SamplesViewController::highlightComments() {
  if (currentSample().allowsCommentation) highlighter_->colourFor(palette(), workbenchFont());
}

void SamplesViewController::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) highlightComments();
}

// --- Text access -------------------------------------------------------

QString SamplesViewController::wholeText() const { return viewText(*textView_); }

TextRange SamplesViewController::selectWholeLines() {
  const QTextCursor current = textView_->textCursor();
  const TextRange selection{current.selectionStart(), current.selectionEnd() - current.selectionStart()};
  const TextRange widened = wholeLines(wholeText(), selection);
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
  // The text is locked while lint waits; the new length is applied to
  // whatever the helper's reply leaves in place.
  if (waitingForHelper_) {
    rewrapWhenHelperReplies_ = true;
    return;
  }
  wrap();
}

void SamplesViewController::scrollToLineStarts() {
  // A command shortens or lengthens lines; a view left scrolled sideways
  // would show the ends of lines that may no longer reach there.
  textView_->horizontalScrollBar()->setValue(0);
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
  const bool documentHasComments =
      selectionOnly ? hasLineComments(splitLines(text.toStdString())) : hasLineComments(before);
  std::vector<std::string> after = reflowedLines(before, maxLength, documentHasComments);
  if (after.empty()) after = before;
  if (after != before) {
    applyEditsUndoably(*textView_, lineEditsBetween(input, before, after), selectionOnly ? selection.start : 0);
  }
  scrollToLineStarts();
  highlightComments();
}

std::vector<std::string> SamplesViewController::spellCheck(const std::vector<std::string>& lines) const {
  if (!spellChecker_) return lines;
  // The words of the code shown are words of its comments too.
  const std::string shown = wholeText().toStdString();
  // A sample has no file, so no repository: its vocabularies stay empty.
  RepositoryVocabularies noRepository;
  return spellCheckComments(lines, *projectSpellChecker(spellChecker_, {}, shown, noRepository));
}

bool SamplesViewController::canCheckSpelling() {
  if (spellChecker_) {
    statusLine_->hide();
    return true;
  }
  // The text stays as it is: marking nothing would read as a clean check.
  statusLine_->setText(tr("Spelling was not checked: %1").arg(noDictionaryReason_));
  statusLine_->show();
  return false;
}

void SamplesViewController::applyToWholeText(const LineTransform& transform) {
  if (!currentSample().allowsCommentation) return;
  const QString text = wholeText();
  const std::vector<std::string> lines = linesOfText(text);
  const std::vector<std::string> checked = transform(lines);
  // Replaced even when nothing was found, so the check is one undo step;
  // otherwise only the places that changed (the inserted marker lines).
  if (checked == lines) {
    replaceWholeTextUndoably(*textView_, textOfLines(checked));
  } else {
    applyEditsUndoably(*textView_, lineEditsBetween(text, lines, checked));
  }
  scrollToLineStarts();
  highlightComments();
}

void SamplesViewController::applyToSelection(const LineTransform& transform) {
  if (!currentSample().allowsCommentation) return;
  const TextRange range = selectWholeLines();
  const QString selected = wholeText().mid(range.start, range.length);
  const std::vector<std::string> lines = linesOfText(selected);
  const std::vector<std::string> checked = transform(lines);
  if (checked != lines) applyEditsUndoably(*textView_, lineEditsBetween(selected, lines, checked), range.start);
  scrollToLineStarts();
}

void SamplesViewController::checkAllSpelling() {
  if (!currentSample().allowsCommentation || !canCheckSpelling()) return;
  applyToWholeText([this](const std::vector<std::string>& lines) { return spellCheck(lines); });
}

void SamplesViewController::checkSpellingInSelection() {
  if (!currentSample().allowsCommentation || !canCheckSpelling()) return;
  applyToSelection([this](const std::vector<std::string>& lines) { return spellCheck(lines); });
}

// The findings a maintainer acts on, as brindle grammar reports them by
// default: passive voice ending at a whole participle, and repeated words.
void SamplesViewController::checkAllGrammar() {
  applyToWholeText([](const std::vector<std::string>& lines) { return proofreadGrammarLines(lines, GrammarRules{}); });
}

void SamplesViewController::checkGrammarInSelection() {
  applyToSelection([](const std::vector<std::string>& lines) { return proofreadGrammarLines(lines, GrammarRules{}); });
  highlightComments();
}

void SamplesViewController::setSpellChecker(std::shared_ptr<const SpellChecker> checker) {
  spellChecker_ = std::move(checker);
  if (!spellChecker_ && noDictionaryReason_.isEmpty()) noDictionaryReason_ = tr("no spelling dictionary is installed");
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
  const QString sent = wholeText();
  autoCorrectionRequest_(
      sent, this,
      [this, alive, sent](std::optional<QString> corrected) {
        if (alive.expired() || !*alive.lock()) return;
        setWaitingForHelper(false);
        // Only the comment lines take the helper's corrections; the text
        // has no language here, so the line rule decides, as it does for
        // the other commands.
        std::optional<std::string> merged;
        if (corrected && !corrected->isEmpty())
          merged = correctionsOnCommentLines(sent.toStdString(), corrected->toStdString(), nullptr);
        if (merged) {
          replaceWholeTextUndoably(*textView_, QString::fromStdString(*merged));
        } else if (corrected && !corrected->isEmpty()) {
          qCInfo(lintLog, "Lint: the helper's answer has a different number of lines; the text is left as it is");
        }
        scrollToLineStarts();
        highlightComments();
        if (std::exchange(rewrapWhenHelperReplies_, false)) wrap();
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
  // Items that are not workbench commands are none of the workbench's
  // business and stay enabled.
  const WorkbenchCommand* command = findWorkbenchCommand(selector);
  if (!command) return true;
  if (waitingForHelper_) return false;
  return !command->followsEditability || currentSample().allowsCommentation;
}

bool SamplesViewController::validateUserInterfaceItem(QAction* item) {
  const bool editable = currentSample().allowsCommentation;
  const QString description =
      QStringLiteral("<QAction: %1, shortcut: %2>")
          .arg(plainTitle(item->text()), item->shortcut().toString(QKeySequence::PortableText));
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
