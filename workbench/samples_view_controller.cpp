#include "workbench/samples_view_controller.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "engine/comment_length.h"
#include "engine/rewrap.h"
#include "proofreading/grammar_check.h"
#include "proofreading/comment_spelling.h"
#include "proofreading/marker_lines.h"
#include "proofreading/project_spelling.h"
#include "reflow/comment_lexer.h"
#include "reflow/comment_line_corrections.h"
#include "reflow/comment_run_rewriting.h"
#include "settings/shared_settings.h"
#include "workbench/comment_highlighter.h"
#include "workbench/line_list_reflow.h"
#include "workbench/fixed_pitch_font.h"
#include "workbench/flow_layout.h"
#include "workbench/line_edits.h"
#include "workbench/line_lists.h"
#include "workbench/sample_loading.h"
#include "workbench/spell_checker_factory.h"
#include "workbench/text_file.h"
#include "workbench/undoable_edit.h"
#include "workbench/workbench_commands.h"

namespace brindlewort {

namespace {

Q_LOGGING_CATEGORY(lintLog, "brindlewort.workbench")

// The menu title without its mnemonic marker, for buttons and log lines.
QString plainTitle(QString title) { return title.remove(u'&'); }

using Lines = std::vector<std::string>;

// A transform of lines applied to the comment runs the language's lexer
// finds (within `only`, when given), every other line kept byte for byte;
// to every line in plain text.
Lines transformedInLanguage(const Lines& lines, const SourceLanguage* language, std::optional<LineSpan> only,
                            const std::function<Lines(const Lines&)>& transform) {
  if (!language) return transform(lines);
  const std::string text = joinLines(lines);
  CommentMap comments = lexComments(text, language);
  if (only) {
    // Lines outside the selection count as code, so no run reaches past it.
    for (std::size_t line = 0; line < comments.size(); ++line) {
      if (line < only->first || line > only->last) comments[line] = CommentFacts{};
    }
  }
  return splitLines(transformCommentRuns(text, comments, [&](const std::vector<std::string_view>& run) {
    return transform(Lines(run.begin(), run.end()));
  }));
}

// The lines without the marker lines of `kind`, only those within `only`
// when given; `only` is moved to cover the same lines afterwards.
Lines withoutOwnMarkers(const Lines& lines, MarkerKind kind, std::optional<LineSpan>& only) {
  if (!only) return withoutMarkerLines(lines, {kind});
  Lines kept;
  kept.reserve(lines.size());
  std::size_t removed = 0;
  for (std::size_t line = 0; line < lines.size(); ++line) {
    const bool inside = line >= only->first && line <= only->last;
    if (inside && markerLineKind(lines[line]) == kind) {
      ++removed;
      continue;
    }
    kept.push_back(lines[line]);
  }
  only->last = only->last >= only->first + removed ? only->last - removed : only->first;
  return kept;
}

// The lines a range of the text covers, counted from 0.
LineSpan linesOf(const QString& text, TextRange range) {
  const auto first = static_cast<std::size_t>(QStringView(text).first(range.start).count(u'\n'));
  QStringView covered = QStringView(text).sliced(range.start, range.length);
  if (covered.endsWith(u'\n')) covered.chop(1);
  return {first, first + static_cast<std::size_t>(covered.count(u'\n'))};
}

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
  fillLanguagePicker();
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
  // A file dropped on the text is opened, not pasted as its name.
  textView_->viewport()->installEventFilter(this);
  connect(textView_->document(), &QTextDocument::modificationChanged, this, &SamplesViewController::documentChanged);
  highlighter_ = new CommentHighlighter(textView_->document());

  popupButton_ = new QComboBox(this);
  popupButton_->setObjectName(QStringLiteral("popupButton"));
  popupButton_->setAccessibleName(tr("Sample"));
  connect(popupButton_, &QComboBox::activated, this, &SamplesViewController::showSample);

  languagePicker_ = new QComboBox(this);
  languagePicker_->setObjectName(QStringLiteral("languagePicker"));
  languagePicker_->setAccessibleName(tr("Language"));
  // The longest names of samples and languages must not set the window's
  // narrowest width.
  for (QComboBox* picker : {popupButton_, languagePicker_}) {
    picker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    picker->setMinimumContentsLength(8);
  }
  languagePicker_->setToolTip(tr("The language of the text: only its comments are wrapped and checked"));
  connect(languagePicker_, &QComboBox::activated, this, [this] { setLanguage(language()); });

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
  auto* languageLabel = new QLabel(tr("&Language:"), this);
  languageLabel->setBuddy(languagePicker_);
  auto* picker = new QHBoxLayout;
  picker->addWidget(sampleLabel);
  picker->addWidget(popupButton_, 1);
  picker->addWidget(languageLabel);
  picker->addWidget(languagePicker_);

  // The buttons take a second row rather than widen the window.
  auto* controls = new FlowLayout;
  for (QPushButton* button : commandButtons()) controls->addWidget(button);

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
  QList<QWidget*> order{popupButton_, languagePicker_};
  for (QPushButton* button : commandButtons()) order.append(button);
  order.append(textView_);
  return order;
}

bool SamplesViewController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == textView_->viewport()) {
    const auto type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      const QList<QUrl> urls = drop->mimeData()->urls();
      if (urls.size() == 1 && urls.front().isLocalFile() && !waitingForHelper_) {
        drop->acceptProposedAction();
        if (type == QEvent::Drop) openFile(urls.front().toLocalFile());
        return true;
      }
    }
  }
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

void SamplesViewController::fillLanguagePicker() {
  // Whatever languages the table holds, by name.
  languages_ = knownLanguages();
  std::sort(languages_.begin(), languages_.end(),
            [](const SourceLanguage* a, const SourceLanguage* b) { return a->name < b->name; });
  languagePicker_->clear();
  languagePicker_->addItem(tr("Plain text"));
  for (const SourceLanguage* language : languages_) {
    languagePicker_->addItem(QString::fromUtf8(language->name.data(), static_cast<qsizetype>(language->name.size())));
  }
}

const SourceLanguage* SamplesViewController::language() const {
  const int index = languagePicker_->currentIndex();
  if (index <= 0 || static_cast<std::size_t>(index) > languages_.size()) return nullptr;
  return languages_[static_cast<std::size_t>(index - 1)];
}

void SamplesViewController::setLanguage(const SourceLanguage* language) {
  const auto found = std::find(languages_.begin(), languages_.end(), language);
  languagePicker_->setCurrentIndex(found == languages_.end() ? 0 : static_cast<int>(found - languages_.begin()) + 1);
  highlighter_->setLanguage(this->language());
  highlightComments();
}

void SamplesViewController::say(const QString& message) {
  statusLine_->setText(message);
  statusLine_->setVisible(!message.isEmpty());
}

QString SamplesViewController::documentName() const {
  return filePath_.isEmpty() ? currentSample().displayName : QFileInfo(filePath_).fileName();
}

bool SamplesViewController::hasUnsavedEdits() const {
  return editable_ && (textView_->document()->isModified() || replacedUnsavedEdits_);
}

bool SamplesViewController::mayDiscardEdits(const QString& question) {
  if (!hasUnsavedEdits()) return true;
  if (discardQuestion_) return discardQuestion_(question);
  return QMessageBox::question(this, tr("Unsaved Edits"), question, QMessageBox::Discard | QMessageBox::Cancel,
                               QMessageBox::Cancel) == QMessageBox::Discard;
}

void SamplesViewController::replaceText(const QString& text) {
  QTextDocument* document = textView_->document();
  const bool hadEdits = hasUnsavedEdits();
  // Over an editable text the load is a step the user can undo, so that
  // nothing typed is lost; the read-only Welcome page has nothing to keep.
  if (!editable_ || textView_->isReadOnly() || !replaceWholeTextUndoably(*textView_, text)) {
    textView_->setPlainText(text);
  }
  if (hadEdits) replacedUnsavedEdits_ = true;
  document->setModified(false);
}

void SamplesViewController::showSample() {
  if (waitingForHelper_) return;  // the helper's reply belongs to the text on show
  loadSelectedSample();
}

void SamplesViewController::showOriginal() {
  if (waitingForHelper_) return;
  if (!filePath_.isEmpty()) {
    openFile(filePath_);
  } else {
    loadSelectedSample();
  }
}

void SamplesViewController::loadSelectedSample() {
  const SampleItem& item = currentSample();
  const SampleContent content = loadSampleContent(sampleFolder_, item.fileName);

  switch (content.kind) {
    case SampleContent::Kind::folderMissing:
      // The text stays; the states follow the entry chosen.
      highlighter_->setActive(item.allowsCommentation);
      break;
    case SampleContent::Kind::plainText:
      highlighter_->setActive(item.allowsCommentation);
      // Source lines are never wrapped on screen: their length is the point.
      textView_->setLineWrapMode(QPlainTextEdit::NoWrap);
      replaceText(content.text);
      break;
    case SampleContent::Kind::richText:
      // Rich text replaces the document and its undo history: typed text
      // goes only when the user says so.
      if (!mayDiscardEdits(tr("Show “%1” and discard the edits of “%2”?").arg(item.displayName, documentName()))) {
        popupButton_->setCurrentIndex(shownSampleIndex_);
        return;
      }
      // Rich text keeps its own formatting, so the highlighter must be off
      // before the new blocks are laid out.
      highlighter_->setActive(false);
      textView_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      textView_->setPlainText(QString());
      if (!content.text.isEmpty()) textView_->document()->setHtml(content.text);
      textView_->document()->setModified(false);
      replacedUnsavedEdits_ = false;
      break;
  }
  shownSampleIndex_ = popupButton_->currentIndex();
  filePath_.clear();
  crlf_ = false;
  byteOrderMark_ = false;
  editable_ = item.allowsCommentation;
  textView_->setReadOnly(!editable_);
  say({});
  updateCommandStates();
  setLanguage(languageCalled(item.languageName.toStdString()));
  emit documentChanged();
}

bool SamplesViewController::openFile(const QString& path) {
  if (waitingForHelper_) return false;
  Result<TextFile> file = readTextFile(path);
  if (!file) {
    say(QString::fromStdString(file.error()));
    return false;
  }
  highlighter_->setActive(true);
  textView_->setLineWrapMode(QPlainTextEdit::NoWrap);
  replaceText(file->text);
  filePath_ = path;
  crlf_ = file->crlf;
  byteOrderMark_ = file->byteOrderMark;
  editable_ = true;
  textView_->setReadOnly(false);
  say({});
  updateCommandStates();
  const LanguageLookup lookup = languageForPath(QFile::encodeName(path).toStdString());
  setLanguage(lookup.kind == LanguageLookup::Kind::known ? lookup.language : nullptr);
  emit documentChanged();
  return true;
}

bool SamplesViewController::saveAs(const QString& path) {
  if (!editable_) {
    say(tr("Not saved: the Welcome page is not a text of yours."));
    return false;
  }
  const TextFile file{wholeText(), crlf_, byteOrderMark_};
  if (Result<void> written = writeTextFile(path, file); !written) {
    say(QString::fromStdString(written.error()));
    return false;
  }
  filePath_ = path;
  replacedUnsavedEdits_ = false;
  textView_->document()->setModified(false);
  say({});
  emit documentChanged();
  return true;
}

// --- Colouring ---------------------------------------------------------

void SamplesViewController::highlightComments() {
  if (editable_) highlighter_->colourFor(palette(), workbenchFont());
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

std::int64_t SamplesViewController::maxCommentLength() const {
  return unsavedMaxCommentLength_.value_or(SharedSettings::shared().maxCommentLength());
}

void SamplesViewController::wrap() { applyRewrap(maxCommentLength(), false); }

void SamplesViewController::wrapSelectedComments() {
  selectWholeLines();
  applyRewrap(maxCommentLength(), true);
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
  const SourceLanguage* source = language();
  applyLines([maxLength, source](const Lines& lines, std::optional<LineSpan> only) {
               return reflowedLines(lines, maxLength, source, only);
             },
             selectionOnly, false);
}

void SamplesViewController::applyLines(const ScopedTransform& transform, bool selectionOnly, bool alwaysOneStep) {
  if (!editable_) return;
  const QTextCursor cursor = textView_->textCursor();
  const TextRange selection{cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
  const QString text = wholeText();
  // In a language the lexer must read the text from its start, so the
  // whole text is transformed with the selected lines named. Plain text has
  // no such state: the selection alone is transformed.
  const bool alone = selectionOnly && !language();
  const QString input = alone ? text.mid(selection.start, selection.length) : text;

  // Compared as UTF-8, the form the engine sees, so a round trip through
  // the engine that changes nothing never counts as a change. Only the
  // lines that changed are replaced, all in one undo step.
  const Lines before = splitLines(input.toStdString());
  std::optional<LineSpan> only;
  if (selectionOnly && !alone) only = linesOf(text, selection);
  Lines after = transform(before, only);
  if (after.empty() && !before.empty()) after = before;
  if (after != before) {
    applyEditsUndoably(*textView_, lineEditsBetween(input, before, after), alone ? selection.start : 0);
  } else if (alwaysOneStep && !selectionOnly) {
    // Replaced even when nothing was found, so the check is one undo step.
    replaceWholeTextUndoably(*textView_, input);
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
    say({});
    return true;
  }
  // The text stays as it is: marking nothing would read as a clean check.
  say(tr("Spelling was not checked: %1").arg(noDictionaryReason_));
  return false;
}

SamplesViewController::ScopedTransform SamplesViewController::checkAfresh(MarkerKind kind,
                                                                          const LineTransform& check) const {
  // A check run again replaces its own earlier marker lines, not adds to them.
  return [kind, check, source = language()](const Lines& lines, std::optional<LineSpan> only) {
    const Lines fresh = withoutOwnMarkers(lines, kind, only);
    return transformedInLanguage(fresh, source, only, check);
  };
}

void SamplesViewController::checkAllSpelling() {
  if (!editable_ || !canCheckSpelling()) return;
  applyLines(checkAfresh(MarkerKind::spelling, [this](const Lines& lines) { return spellCheck(lines); }), false,
             true);
}

void SamplesViewController::checkSpellingInSelection() {
  if (!editable_ || !canCheckSpelling()) return;
  selectWholeLines();
  applyLines(checkAfresh(MarkerKind::spelling, [this](const Lines& lines) { return spellCheck(lines); }), true,
             true);
}

// The findings a maintainer acts on, as brindle grammar reports them by
// default: passive voice ending at a whole participle, and repeated words.
void SamplesViewController::checkAllGrammar() {
  applyLines(checkAfresh(MarkerKind::grammar, [](const Lines& lines) { return proofreadGrammarLines(lines, GrammarRules{}); }), false,
             true);
}

void SamplesViewController::checkGrammarInSelection() {
  if (!editable_) return;
  selectWholeLines();
  applyLines(checkAfresh(MarkerKind::grammar, [](const Lines& lines) { return proofreadGrammarLines(lines, GrammarRules{}); }), true,
             true);
}

void SamplesViewController::removeMarkers() {
  if (!editable_) return;
  const QString before = wholeText();
  applyLines([](const Lines& lines, std::optional<LineSpan>) {
               return withoutMarkerLines(lines, {MarkerKind::spelling, MarkerKind::grammar});
             },
             false, false);
  say(wholeText() == before ? tr("There are no marker lines to remove.") : QString());
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
        // Only the comment lines of the text's language take the helper's
        // corrections; plain text is read by the line rule.
        std::optional<std::string> merged;
        if (corrected && !corrected->isEmpty())
          merged = correctionsOnCommentLines(sent.toStdString(), corrected->toStdString(), language());
        // Whatever happened is said: a helper that is missing must not look
        // like a text with nothing to correct.
        if (!corrected) {
          say(tr("Lint did nothing: the helper service did not answer. It comes with the brindlewort "
                 "package; check that the session bus is running."));
        } else if (!merged) {
          qCInfo(lintLog, "Lint: the helper's answer has a different number of lines; the text is left as it is");
          say(tr("Lint changed nothing: the helper's answer did not match the text line for line."));
        } else {
          const QString result = QString::fromStdString(*merged);
          replaceWholeTextUndoably(*textView_, result);
          say(result == sent ? tr("Lint found nothing to correct.") : QString());
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
  textView_->setReadOnly(waiting || !editable_);
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
  return !command->followsEditability || editable_;
}

bool SamplesViewController::validateUserInterfaceItem(QAction* item) {
  const bool editable = editable_;
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
  const bool usable = editable_ && !waitingForHelper_;
  for (QPushButton* button : commandButtons()) button->setEnabled(usable);
  popupButton_->setEnabled(!waitingForHelper_);
  languagePicker_->setEnabled(editable_ && !waitingForHelper_);
}

}  // namespace brindlewort
