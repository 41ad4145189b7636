#pragma once

// The samples workbench: a text view with a catalogue of sample documents,
// the language its text is read in, and one command per operation (show
// original, wrap, unwrap, spelling, grammar, marker removal, lint), each on
// the whole text or on the selected lines. A file can be opened and saved.
// Every command that changes the text, and every load that replaces an
// editable text, is one undoable edit, followed by recolouring of comment
// and non-comment lines.

#include <QAction>
#include <QList>
#include <QString>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "proofreading/marker_lines.h"
#include "proofreading/spell_checker.h"
#include "reflow/line_span.h"
#include "reflow/source_language.h"
#include "workbench/auto_correction_request.h"
#include "workbench/line_widening.h"
#include "workbench/sample_catalogue.h"

class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace brindlewort {

class CommentHighlighter;

class SamplesViewController : public QWidget {
  Q_OBJECT
 public:
  using AutoCorrectionRequest = brindlewort::AutoCorrectionRequest;

  // Builds the view, fills the pop-up, loads "Welcome" and starts
  // following changes of the maximum comment length.
  explicit SamplesViewController(QWidget* parent = nullptr,
                                 std::vector<SampleItem> samples = sampleCatalogue());
  ~SamplesViewController() override;

  QPlainTextEdit* textView() const { return textView_; }
  QComboBox* popupButton() const { return popupButton_; }
  // Plain text and every language of the table; the commands and the
  // colouring read the text in the one chosen.
  QComboBox* languagePicker() const { return languagePicker_; }
  // The chosen language; null for plain text.
  const SourceLanguage* language() const;
  // Chooses the language (null: plain text) and recolours.
  void setLanguage(const SourceLanguage* language);
  QPushButton* showOriginalButton() const { return showOriginalButton_; }
  QPushButton* wrapButton() const { return wrapButton_; }
  QPushButton* unwrapButton() const { return unwrapButton_; }
  QPushButton* spellCheckButton() const { return spellCheckButton_; }
  QPushButton* lintButton() const { return lintButton_; }
  QPushButton* grammarButton() const { return grammarButton_; }
  // The line under the text that says why a command did nothing.
  QLabel* statusLine() const { return statusLine_; }
  // The whole-text commands' buttons, in menu order.
  QList<QPushButton*> commandButtons() const;
  // The workbench's controls in Tab order: picker, buttons, text.
  QList<QWidget*> tabOrder() const;

  const std::vector<SampleItem>& samples() const { return samples_; }
  // The entry selected in the pop-up.
  const SampleItem& currentSample() const;
  // Whether the text shown may be changed by the commands.
  bool isEditable() const { return editable_; }

  // The file shown; empty while a sample is shown.
  const QString& filePath() const { return filePath_; }
  // What the window's title calls the text: the file's or the sample's name.
  QString documentName() const;
  // Shows the file (language from its name), replacing the text as one
  // undoable step; false, with the reason on the status line, when it
  // cannot be read.
  bool openFile(const QString& path);
  // Writes the text to `path`, with the line ends it was loaded with, and
  // shows that file from then on; false, with the reason on the status
  // line, when it cannot be written.
  bool saveAs(const QString& path);
  // True when typed or pasted text would be lost by quitting: the text was
  // changed since it was loaded or saved, or such a text was replaced.
  bool hasUnsavedEdits() const;
  // Asks whether edits may be thrown away, in a dialog unless replaced.
  using DiscardQuestion = std::function<bool(const QString& question)>;
  void setDiscardQuestion(DiscardQuestion question) { discardQuestion_ = std::move(question); }
  bool mayDiscardEdits(const QString& question);
  // One action per command of workbenchCommands(), in its order, named by
  // its selector ("wrap:", ...), with its shortcut, for the menus.
  const QList<QAction*>& commandActions() const { return commandActions_; }
  QAction* commandAction(const QString& selector) const;

  // Whether a menu item may be used now; writes the "Checking item: " line.
  bool validateUserInterfaceItem(QAction* item);
  // Validates every item of a menu; connect to its aboutToShow.
  void validateMenu(QMenu* menu);

  // Where samples are read from; the compiled-in resources by default.
  void setSampleFolder(const QString& folder) { sampleFolder_ = folder; }
  // A null checker stands for a machine without dictionaries.
  void setSpellChecker(std::shared_ptr<const SpellChecker> checker);
  // Stands in for the helper; an empty request restores the helper service.
  void setAutoCorrectionRequest(AutoCorrectionRequest request);
  void setAutoCorrectionBound(std::chrono::milliseconds bound) { autoCorrectionBound_ = bound; }
  // The length the slider chose when it could not be saved: Wrap and the
  // slider's re-wrap use it instead of the stored one; nothing clears it.
  void setUnsavedMaxCommentLength(std::optional<std::int64_t> length) { unsavedMaxCommentLength_ = length; }
  // True while the lint command waits for the helper.
  bool isWaitingForHelper() const { return waitingForHelper_; }

  // The text view's whole text, with line feeds between lines.
  QString wholeText() const;
  // Widens the selection to whole lines, selects and returns that range.
  TextRange selectWholeLines();

 public slots:
  void showSample();
  void showOriginal();
  void wrap();
  void wrapSelectedComments();
  void unwrap();
  void unwrapSelectedComments();
  void checkAllSpelling();
  void checkSpellingInSelection();
  void checkAllGrammar();
  void checkGrammarInSelection();
  void removeMarkers();
  void runSwiftLint();
  void requestAutoCorrection();
  void highlightComments();

 signals:
  // The lint command has finished, with or without a correction.
  void autoCorrectionFinished();
  // The file or sample shown changed: its name or whether it was saved.
  void documentChanged();

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using LineTransform = std::function<std::vector<std::string>(const std::vector<std::string>&)>;
  // A transform of the whole text's lines that, given a span, changes only
  // what touches those lines.
  using ScopedTransform =
      std::function<std::vector<std::string>(const std::vector<std::string>&, std::optional<LineSpan>)>;

  void buildView();
  void buildActions();
  void loadSelectedSample();
  void fillLanguagePicker();
  // Shows `text` of a sample or file: one undoable step over an editable
  // text, a fresh document otherwise.
  void replaceText(const QString& text);
  // Says `message` on the status line; an empty one hides it.
  void say(const QString& message);
  void applyRewrap(std::int64_t maxLength, bool selectionOnly);
  // Applies `transform` to the text's lines as one undo step; with
  // `selectionOnly`, only to the selected lines. `alwaysOneStep` makes a
  // whole-text command an undo step even when it changes nothing.
  void applyLines(const ScopedTransform& transform, bool selectionOnly, bool alwaysOneStep);
  // A check that first takes out its own earlier marker lines and then
  // reads the comments of the text's language.
  ScopedTransform checkAfresh(MarkerKind kind, const LineTransform& check) const;
  void rewrapAfterSettingChange();
  std::int64_t maxCommentLength() const;
  void scrollToLineStarts();
  void setWaitingForHelper(bool waiting);
  void updateCommandStates();
  bool isCommandEnabled(const QString& selector) const;
  std::vector<std::string> spellCheck(const std::vector<std::string>& lines) const;
  // False, with the reason on the status line, when no dictionary loaded.
  bool canCheckSpelling();

  QPlainTextEdit* textView_ = nullptr;
  QComboBox* popupButton_ = nullptr;
  QComboBox* languagePicker_ = nullptr;
  std::vector<const SourceLanguage*> languages_;  // the picker's entries after Plain text
  QPushButton* showOriginalButton_ = nullptr;
  QPushButton* wrapButton_ = nullptr;
  QPushButton* unwrapButton_ = nullptr;
  QPushButton* spellCheckButton_ = nullptr;
  QPushButton* lintButton_ = nullptr;
  QPushButton* grammarButton_ = nullptr;
  QLabel* statusLine_ = nullptr;
  QList<QAction*> commandActions_;

  std::vector<SampleItem> samples_;
  QString sampleFolder_;
  bool editable_ = false;
  int shownSampleIndex_ = 0;
  QString filePath_;
  bool crlf_ = false;
  bool byteOrderMark_ = false;
  // Typed text was replaced by a load; it lives on in the undo history only.
  bool replacedUnsavedEdits_ = false;
  DiscardQuestion discardQuestion_;
  CommentHighlighter* highlighter_ = nullptr;
  std::shared_ptr<const SpellChecker> spellChecker_;  // null: no dictionary
  QString noDictionaryReason_;
  AutoCorrectionRequest autoCorrectionRequest_;
  std::chrono::milliseconds autoCorrectionBound_;
  bool waitingForHelper_ = false;
  std::optional<std::int64_t> unsavedMaxCommentLength_;
  // The length changed while lint waited: wrap once the reply is in.
  bool rewrapWhenHelperReplies_ = false;
  // Lets a reply that outlives this controller find out and do nothing.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace brindlewort
