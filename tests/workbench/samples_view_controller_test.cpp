// The samples workbench: the catalogue and the loading of each sample, each
// command's result as one undo step, selection widening, menu validation,
// the deferred re-wrap, the colouring and the lint command's helper.

#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QMimeData>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <unistd.h>

#include "engine/comment_length.h"
#include "engine/rewrap.h"
#include "fake_spell_checker.h"
#include "proofreading/grammar_check.h"
#include "proofreading/spell_check.h"
#include "reflow/source_language.h"
#include "reflow/text_validation.h"
#include "settings/shared_settings.h"
#include "workbench/fixed_pitch_font.h"
#include "workbench/line_list_reflow.h"
#include "workbench/named_colors.h"
#include "workbench/sample_loading.h"
#include "workbench/samples_view_controller.h"
#include "workbench/text_file.h"

using namespace brindlewort;
using Done = std::function<void(std::optional<QString>)>;
using Lines = std::vector<std::string>;

namespace {

const QString longComment = QStringLiteral(
    "// This comment paragraph is far longer than forty characters, so wrapping it must break it.");
const SourceLanguage* const swift = languageCalled("Swift");
const auto checker = std::make_shared<testing_support::FakeSpellChecker>(Lines{"teh", "wrold"});

QString transformed(const QString& text, const std::function<Lines(const Lines&)>& transform) {
  return QString::fromStdString(joinLines(transform(splitLines(text.toStdString()))));
}
QString rewrapped(const QString& text, std::int64_t length) {
  return transformed(text, [length](const Lines& lines) { return rewrapLines(lines, length); });
}

// A controller on the sample at `index` (an editable one by default),
// showing `input`, when given, with an empty undo history and that selection.
std::unique_ptr<SamplesViewController> showing(std::optional<QString> input, qsizetype start = 0,
                                               qsizetype length = 0, int index = 2) {
  auto controller = std::make_unique<SamplesViewController>();
  controller->setSpellChecker(checker);
  controller->popupButton()->setCurrentIndex(index);
  controller->showSample();
  if (!input) return controller;
  controller->textView()->setPlainText(*input);
  QTextCursor cursor = controller->textView()->textCursor();
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
  controller->textView()->setTextCursor(cursor);
  return controller;
}

// The undo steps the user can take; they are redone afterwards.
int undoSteps(const SamplesViewController& controller) {
  QTextDocument* document = controller.textView()->document();
  int steps = 0;
  for (; document->isUndoAvailable() && steps < 1000; ++steps) document->undo();
  for (int i = 0; i < steps; ++i) document->redo();
  return steps;
}

// Whether every command button is in that state.
bool buttonsAre(const SamplesViewController& controller, bool enabled) {
  for (QPushButton* button : controller.commandButtons())
    if (button->isEnabled() != enabled) return false;
  return true;
}

// What `work` writes to standard output, where the validation line goes
// past Qt, straight to the file descriptor.
QString stdoutOf(const std::function<void()>& work) {
  QTemporaryFile file;
  if (!file.open()) return {};
  std::fflush(stdout);
  const int saved = dup(STDOUT_FILENO);
  dup2(file.handle(), STDOUT_FILENO);
  work();
  std::fflush(stdout);
  dup2(saved, STDOUT_FILENO);
  close(saved);
  file.seek(0);
  return QString::fromUtf8(file.readAll());
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs the lint command and waits for its end.
bool lintAndWait(SamplesViewController& controller) {
  QSignalSpy finished(&controller, &SamplesViewController::autoCorrectionFinished);
  controller.runSwiftLint();
  return finished.count() == 1 || finished.wait(60000);
}

struct Load {
  QString fileName;
  QByteArray bytes;  // empty: the file is not created
  bool editable;
  QString shown;
};

struct Command {
  QString selector, input;
  qsizetype start, length;  // the selection
  QString expected;         // the input itself where nothing may change
  int steps;
  std::optional<QString> reply = std::nullopt;  // the helper's, for the lint command
};

}  // namespace

Q_DECLARE_METATYPE(brindlewort::TextRange)

class SamplesViewControllerTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { QVERIFY(SharedSettings::shared().setMaxCommentLength(40).ok()); }
  void cleanupTestCase() { QVERIFY(SharedSettings::shared().resetMaxCommentLength().ok()); }

  // Each sample under its title; separators are real, disabled entries, so
  // a pop-up index is a catalogue index. Welcome shows first, read-only and
  // not coloured, with the buttons off; every other sample is editable
  // coloured text with no undo history. Show Original discards edits. A
  // missing sample folder keeps the text but still sets the next one's states.
  void everySampleLoads_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("firstWords");
    QTest::newRow("Welcome") << 0 << "Welcome to Brindlewort";
    QTest::newRow("The Basics") << 2 << "// Welcome to the basics.";
    QTest::newRow("Documentation") << 3 << "/// Downloads a file";
    QTest::newRow("Structured") << 4 << "// Lists keep their shape";
    QTest::newRow("SwiftLint") << 6 << "// The lint command";
    QTest::newRow("Spell Checking") << 8 << "// Press Spelling";
  }
  void everySampleLoads() {
    QFETCH(int, index);
    QFETCH(QString, firstWords);
    const bool editable = index != 0;
    auto controller = showing(std::nullopt, 0, 0, index);
    QCOMPARE(controller->popupButton()->currentText(), QString::fromUtf8(QTest::currentDataTag()));
    const QString original = controller->wholeText();
    QVERIFY2(original.startsWith(firstWords), qPrintable(original.left(80)));
    QCOMPARE(controller->textView()->isReadOnly(), !editable);
    QVERIFY(buttonsAre(*controller, editable));
    QCOMPARE(controller->textView()->document()->firstBlock().layout()->formats().isEmpty(), !editable);
    QCOMPARE(controller->textView()->document()->availableUndoSteps(), 0);
    auto* entries = qobject_cast<QStandardItemModel*>(controller->popupButton()->model());
    for (int i : {1, 5, 7}) QVERIFY(!entries->item(i)->isEnabled());
    controller->textView()->setPlainText(QStringLiteral("edited"));
    controller->showOriginal();
    QCOMPARE(controller->wholeText(), original);
    controller->setSampleFolder(QStringLiteral("/nonexistent/Sample Files"));
    controller->popupButton()->setCurrentIndex(editable ? 0 : 2);
    controller->showSample();
    QCOMPARE(controller->wholeText(), original);
    QVERIFY(controller->textView()->isReadOnly() == editable && buttonsAre(*controller, !editable));
  }

  // Loading from a folder of our own covers the failure paths.
  void loadingRules_data() {
    QTest::addColumn<Load>("c");
    const QString failed = failedToLoadSampleMessage;
    QTest::newRow("utf-8 text") << Load{"a.txt", "// caf\xc3\xa9 \xf0\x9f\x98\x80\n", true, "// café 😀\n"};
    QTest::newRow("utf-16 with bom") << Load{"b.txt", QByteArray("\xff\xfe/\0/\0 \0x\0", 10), true, "// x"};
    QTest::newRow("nul bytes load") << Load{"c.txt", QByteArray("a\0b", 3), true, QString::fromUtf16(u"a\0b", 3)};
    QTest::newRow("invalid utf-8") << Load{"d.txt", "// \xff\xfe bad", true, failed};
    QTest::newRow("missing file") << Load{"e.txt", {}, true, failed};
    QTest::newRow("capital extension") << Load{"f.TXT", "x", true, "Unknown document type: TXT"};
    QTest::newRow("rtf is not read here") << Load{"g.rtf", "{\\rtf1}", true, "Unknown document type: rtf"};
    QTest::newRow("no extension") << Load{"h", "x", true, "Unknown document type: "};
    QTest::newRow("missing rich text") << Load{"gone.html", {}, false, ""};
  }
  void loadingRules() {
    QFETCH(Load, c);
    QTemporaryDir folder;
    QFile file(folder.filePath(c.fileName));
    if (!c.bytes.isEmpty()) QVERIFY(file.open(QIODevice::WriteOnly) && file.write(c.bytes) == c.bytes.size() && file.flush());
    SamplesViewController controller(nullptr, {{QStringLiteral("Sample"), c.fileName, c.editable, {}}});
    controller.setSampleFolder(folder.path());
    controller.showOriginal();
    QCOMPARE(controller.wholeText(), c.shown);
    QCOMPARE(controller.textView()->isReadOnly(), !c.editable);
    QCOMPARE(buttonsAre(controller, true), c.editable);
  }

  // Each command gives the engine's result on the whole text or on the
  // selected lines as one undo step, and one undo gives back the exact text
  // (characters outside the BMP, combining marks and no-break spaces too).
  // Wrap and the selection forms replace only on change; the whole-text
  // proofreading commands always do, except on an empty text. Lint sends
  // the whole text and puts back any reply that is not empty.
  void commandsAreOneUndoableEdit_data() {
    QTest::addColumn<Command>("c");
    const QString mixed = QStringLiteral(
        "let x = 1\n// Caf\u00e9 cre\u0300me \U0001F600 na\u00efve text\u00a0with a no-break space that "
        "goes on well past the limit\n\n    // indented comment that is also long enough to wrap here\n");
    const QString code = QStringLiteral("\nlet a = 1");
    const QString misspelt = QStringLiteral("// teh wrold\nlet teh = 1");
    const QString passive = QStringLiteral("// The file was written by the scheduler.");
    auto spelt = [](const QString& t) { return transformed(t, [](const Lines& l) { return spellCheckLines(l, *checker); }); };
    auto grammar = [](const QString& t) { return transformed(t, [](const Lines& l) { return proofreadGrammarLines(l, GrammarRules{}); }); };
    auto unchanged = [](const char* selector, const char* input, int steps) {
      return Command{selector, input, qsizetype(std::strlen(input)), 0, input, steps};
    };
    QTest::newRow("wrap, unicode") << Command{"wrap:", mixed, 0, 0, rewrapped(mixed, 40), 1};
    QTest::newRow("unwrap") << Command{"unwrap:", "// one\n// two\n// three\ncode()", 0, 0, "// one two three\ncode()", 1};
    // "teh" is a word of the code shown, so only "wrold" is misspelt.
    QTest::newRow("spelling") << Command{"checkAllSpelling:", misspelt, 0, 0,
                                         "// teh wrold\n//     ▲▲▲▲▲ ← TYPO?\nlet teh = 1", 1};
    QTest::newRow("grammar") << Command{"checkAllGrammar:", passive, 0, 0, grammar(passive), 1};
    // The paragraph at the cursor moves, the next one after code does not.
    QTest::newRow("wrap at the cursor line")
        << Command{"wrapSelectedComments:", longComment + code + "\n" + longComment, 10, 0,
                   rewrapped(longComment, 40) + code + "\n" + longComment, 1};
    QTest::newRow("unwrap selected lines")
        << Command{"unwrapSelectedComments:", "code()\n// one\n// two", 8, 12, "code()\n// one two", 1};
    QTest::newRow("spelling in selection") << Command{"checkSpellingInSelection:", "// teh one\n// teh two\n", 12, 0,
                                                      "// teh one\n" + spelt("// teh two\n"), 1};
    QTest::newRow("grammar in selection")
        << Command{"checkGrammarInSelection:", "// teh\n" + passive, 8, 3, "// teh\n" + grammar(passive), 1};
    QTest::newRow("wrap of short comment") << unchanged("wrap:", "// short\nlet a = 1", 0);
    QTest::newRow("wrap selection unchanged") << unchanged("wrapSelectedComments:", "// short", 0);
    // In a language the selection names paragraphs: the whole one at the cursor moves.
    QTest::newRow("unwrap, cursor on the last line")
        << Command{"unwrapSelectedComments:", "// one\n// two", 13, 0, "// one two", 1};
    QTest::newRow("spelling, nothing found") << unchanged("checkAllSpelling:", "// all good", 1);
    QTest::newRow("grammar, nothing found") << unchanged("checkAllGrammar:", "// all good", 1);
    QTest::newRow("spelling in selection, nothing found") << unchanged("checkSpellingInSelection:", "// all good", 0);
    QTest::newRow("grammar in selection, nothing found") << unchanged("checkGrammarInSelection:", "// all good", 0);
    QTest::newRow("empty text, wrap") << unchanged("wrap:", "", 0);
    QTest::newRow("empty text, spelling") << unchanged("checkAllSpelling:", "", 0);
    const QString lint = QStringLiteral("runSwiftLint:");
    QTest::newRow("lint") << Command{lint, "//teh x  \nlet a", 0, 0, "// the x\nlet a", 1, "// the x\nlet a"};
    QTest::newRow("lint, code lines kept") << Command{lint, "//teh x\nlet a  ", 0, 0, "// the x\nlet a  ", 1, "// the x\nlet b"};
    QTest::newRow("lint, a line added") << Command{lint, "// x", 0, 0, "// x", 0, "// x\n// y"};
    QTest::newRow("lint, same text is still an edit") << Command{lint, "// x", 0, 0, "// x", 1, "// x"};
    QTest::newRow("lint, empty reply") << Command{lint, "// x", 0, 0, "// x", 0, ""};
    QTest::newRow("lint, no reply") << Command{lint, "// x", 0, 0, "// x", 0};
    QTest::newRow("lint, empty text is sent") << Command{lint, "", 0, 0, "", 0};
  }
  void commandsAreOneUndoableEdit() {
    QFETCH(Command, c);
    auto controller = showing(c.input, c.start, c.length);
    QString sent = QStringLiteral("(nothing)");
    controller->setAutoCorrectionRequest([&sent, c](const QString& text, QObject*, Done done, std::chrono::milliseconds) {
      sent = text;
      done(c.reply);
    });
    controller->commandAction(c.selector)->trigger();
    QCOMPARE(sent, c.selector == u"runSwiftLint:" ? c.input : QStringLiteral("(nothing)"));
    QCOMPARE(controller->wholeText(), c.expected);
    QCOMPARE(undoSteps(*controller), c.steps);
    QVERIFY(!controller->textView()->isReadOnly());
    controller->textView()->undo();
    QCOMPARE(controller->wholeText(), c.input);
  }

  // Without a dictionary the Spelling commands change nothing, add no undo
  // step and say why on the status line instead of looking like a check.
  void noDictionaryIsSaidNotHidden() {
    for (const char* selector : {"checkAllSpelling:", "checkSpellingInSelection:"}) {
      auto controller = showing(QStringLiteral("// teh wrold\nlet a = 1"), 0, 5);
      controller->setSpellChecker(nullptr);
      controller->commandAction(QString::fromLatin1(selector))->trigger();
      QCOMPARE(controller->wholeText(), QStringLiteral("// teh wrold\nlet a = 1"));
      QCOMPARE(undoSteps(*controller), 0);
      QVERIFY(!controller->statusLine()->isHidden());
      QVERIFY(controller->statusLine()->text().contains(QStringLiteral("not checked")));
      controller->setSpellChecker(checker);
      controller->commandAction(QString::fromLatin1(selector))->trigger();
      QVERIFY(controller->statusLine()->isHidden());
    }
  }

  void lineWidening_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextRange>("selected");
    QTest::addColumn<TextRange>("widened");
    const QString three = QStringLiteral("ab\ncd\nef");
    QTest::newRow("cursor inside a line takes its line feed") << three << TextRange{4, 0} << TextRange{3, 3};
    QTest::newRow("cursor at the text start") << three << TextRange{0, 0} << TextRange{0, 3};
    QTest::newRow("selection ending on a line feed stops there") << three << TextRange{3, 3} << TextRange{3, 3};
    QTest::newRow("selection ending before a line feed takes it") << three << TextRange{3, 2} << TextRange{3, 3};
    QTest::newRow("selection over two lines") << three << TextRange{1, 3} << TextRange{0, 6};
    QTest::newRow("cursor at the very end") << three << TextRange{8, 0} << TextRange{6, 2};
    QTest::newRow("everything") << three << TextRange{0, 8} << TextRange{0, 8};
    QTest::newRow("after a trailing line feed") << QStringLiteral("ab\n") << TextRange{3, 0} << TextRange{3, 0};
    QTest::newRow("line before a trailing line feed") << QStringLiteral("ab\n") << TextRange{1, 0} << TextRange{0, 3};
    QTest::newRow("empty text") << QString() << TextRange{0, 0} << TextRange{0, 0};
    QTest::newRow("line separator ends a line") << QStringLiteral("ab\u2028cd") << TextRange{4, 0} << TextRange{3, 2};
  }
  void lineWidening() {
    QFETCH(QString, text);
    QFETCH(TextRange, selected);
    QFETCH(TextRange, widened);
    QCOMPARE(wholeLines(text, selected), widened);
    auto controller = showing(text, selected.start, selected.length);
    QCOMPARE(controller->selectWholeLines(), widened);
    const QTextCursor cursor = controller->textView()->textCursor();
    QCOMPARE((TextRange{cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()}), widened);
  }

  // The workbench opens on the read-only Welcome sample, which no command
  // and no setting change alters.
  // Wrap, Unwrap and their selection forms, at every slider position, move
  // only comment lines of the shipped samples: every other line stays as it
  // is, in order.
  void samplesKeepTheirCode() {
    auto codeOf = [](const QString& text) {
      QStringList code;
      for (const QString& line : text.split(u'\n'))
        if (!line.trimmed().startsWith(u"//")) code << line;
      return code;
    };
    for (const int index : {2, 3, 4, 6, 8}) {
      auto controller = showing(std::nullopt, 0, 0, index);
      const QString original = controller->wholeText();
      const std::vector<std::string> lines = splitLines(original.toStdString());
      for (std::int64_t length = 0; length <= 200; ++length) {
        const std::int64_t limit = length == 0 ? noCommentLengthLimit : length;
        const QString text = QString::fromStdString(joinLines(reflowedLines(lines, limit, swift)));
        QVERIFY2(codeOf(text) == codeOf(original), qPrintable(QStringLiteral("sample %1, length %2").arg(index).arg(length)));
      }
      using Command = void (SamplesViewController::*)();
      for (const Command command : {&SamplesViewController::wrap, &SamplesViewController::unwrap,
                                    &SamplesViewController::wrapSelectedComments,
                                    &SamplesViewController::unwrapSelectedComments}) {
        controller->showOriginal();
        controller->textView()->selectAll();
        (controller.get()->*command)();
        QCOMPARE(codeOf(controller->wholeText()), codeOf(original));
      }
    }
  }

  // The slider's length is honoured however little room the markers
  // leave: the CLI would keep such a paragraph, the workbench wraps it.
  void sliderLengthWrapsEvenWithLittleRoom() {
    const std::vector<std::string> lines{"            // one two three four five six seven", "int x;"};
    const std::vector<std::string> wrapped = reflowedLines(lines, 20, swift);
    QCOMPARE(wrapped, (std::vector<std::string>{"            // one", "            // two", "            // three",
                                                "            // four", "            // five", "            // six",
                                                "            // seven", "int x;"}));
  }

  void welcomeIsNeverChanged() {
    SamplesViewController controller;
    QCOMPARE(controller.currentSample().displayName, QStringLiteral("Welcome"));
    const QString welcome = controller.wholeText();
    for (QAction* action : controller.commandActions())
      if (action->objectName() != u"runSwiftLint:") action->trigger();
    controller.wrap();
    QVERIFY(SharedSettings::shared().setMaxCommentLength(20).ok());
    // The re-wrap after a setting change is a queued call: deliver it.
    QCoreApplication::sendPostedEvents();
    QCOMPARE(controller.wholeText(), welcome);
    QCOMPARE(undoSteps(controller), 0);
  }

  // On Welcome only Show Original and the grammar commands stay enabled;
  // an item that is not a workbench command always does. Validating a menu
  // writes one line per item; the actions' own state, which their shortcuts
  // obey, already agrees before.
  void menuValidation_data() {
    QTest::addColumn<int>("sample");
    QTest::addColumn<QString>("disabled");
    QTest::newRow("Welcome") << 0 << "wrap: wrapSelectedComments: unwrap: unwrapSelectedComments: "
                                     "checkAllSpelling: checkSpellingInSelection: removeMarkers: runSwiftLint:";
    QTest::newRow("The Basics") << 2 << "";
  }
  void menuValidation() {
    QFETCH(int, sample);
    QFETCH(QString, disabled);
    auto controller = showing(std::nullopt, 0, 0, sample);
    QMenu menu;
    menu.addActions(controller->commandActions());
    menu.addAction(QStringLiteral("Other"))->setObjectName(QStringLiteral("other:"));
    QVERIFY(!controller->commandAction(QStringLiteral("other:")));
    auto disabledItems = [&] {
      QStringList list;
      for (QAction* action : menu.actions())
        if (!action->isEnabled()) list << action->objectName();
      return list.join(u' ');
    };
    QCOMPARE(disabledItems(), disabled);
    for (QAction* action : menu.actions()) action->setEnabled(!action->isEnabled());
    const QString out = stdoutOf([&] { controller->validateMenu(&menu); });
    QCOMPARE(disabledItems(), disabled);
    const QString editable = sample ? QStringLiteral(", editable: true\n") : QStringLiteral(", editable: false\n");
    QVERIFY2(out.startsWith("Checking item: <QAction: Show Original, shortcut: Ctrl+Shift+O>" + editable), qPrintable(out));
    QCOMPARE(out.count(editable), 12);
  }

  // The setting's change re-wraps one turn later, at the length read then;
  // two changes in one turn give two re-wraps at the final length.
  void settingChangeRewrapsOneTurnLater() {
    auto controller = showing(longComment);
    QVERIFY(SharedSettings::shared().setMaxCommentLength(50).ok());
    QVERIFY(SharedSettings::shared().setMaxCommentLength(30).ok());
    QCOMPARE(controller->wholeText(), longComment);
    QTRY_COMPARE(controller->wholeText(), rewrapped(longComment, 30));
    QCoreApplication::processEvents();
    QCOMPARE(undoSteps(*controller), 1);
    QVERIFY(SharedSettings::shared().setMaxCommentLength(noCommentLengthLimit).ok());
    QTRY_COMPARE(controller->wholeText(), longComment);
  }

  // After wrapping, comment lines take the comment colour and code,
  // indented code included, the other; colouring adds no undo step and follows a
  // dark palette. CR-LF typed in never counts as part of a line.
  void commentHighlighting() {
    auto controller = showing(longComment + "\n\nlet a = 1\n    indented()");
    controller->wrap();
    controller->textView()->moveCursor(QTextCursor::End);
    controller->textView()->insertPlainText(QStringLiteral("\r\n// a\r\nlet b"));
    const int steps = undoSteps(*controller);
    controller->highlightComments();
    QCOMPARE(undoSteps(*controller), steps);
    // Each line's one colour over its whole length; none for an empty line.
    auto colours = [&] {
      QStringList list;
      for (QTextBlock b = controller->textView()->document()->begin(); b.isValid(); b = b.next()) {
        const QList<QTextLayout::FormatRange> f = b.layout()->formats();
        const bool whole = f.size() == 1 && f[0].start == 0 && f[0].length == b.length() - 1;
        list << (f.isEmpty() ? QString() : whole ? f[0].format.foreground().color().name() : QStringLiteral("partial"));
      }
      return list;
    };
    for (const QPalette& palette : {controller->palette(), QPalette(QColor(30, 30, 30))}) {
      controller->setPalette(palette);
      const QString comment = namedColor(QLatin1String(commentColorName), palette)->name();
      const QString code = namedColor(QLatin1String(nonCommentColorName), palette)->name();
      QStringList expected;
      for (const QString& line : controller->wholeText().split(u'\n'))
        expected << (line.isEmpty() ? QString() : line.trimmed().startsWith(u"//") ? comment : code);
      QCOMPARE(colours(), expected);
      QVERIFY(!controller->wholeText().contains(u'\r'));
    }
    QVERIFY(namedColor(QLatin1String(commentColorName), QPalette(QColor(30, 30, 30))) !=
            namedColor(QLatin1String(commentColorName), QPalette()));
    QVERIFY(!namedColor(QStringLiteral("NoSuchColor"), QPalette()));
    QCOMPARE(undoSteps(*controller), steps);
  }

  // While the reply is outstanding, typing and other commands change
  // nothing, so the reply cannot overwrite anything; afterwards the view is
  // editable again. A reply after the controller is gone does nothing.
  void textIsLockedWhileWaiting() {
    Done pending;
    {
      auto controller = showing(QStringLiteral("// before"));
      controller->setAutoCorrectionRequest(
          [&pending](const QString&, QObject*, Done done, std::chrono::milliseconds) { pending = std::move(done); });
      controller->show();
      controller->runSwiftLint();
      QVERIFY(controller->textView()->isReadOnly());
      QCOMPARE(controller->cursor().shape(), Qt::BusyCursor);
      QVERIFY(!controller->popupButton()->isEnabled() && !controller->commandAction("showOriginal:")->isEnabled());
      controller->textView()->setFocus();
      QTest::keyClicks(controller->textView(), QStringLiteral("typed"));
      controller->checkAllGrammar();
      controller->showOriginal();
      controller->runSwiftLint();  // a second request while waiting is ignored
      QCOMPARE(controller->wholeText(), QStringLiteral("// before"));

      pending(QStringLiteral("// after"));
      QCOMPARE(controller->wholeText(), QStringLiteral("// after"));
      QVERIFY(!controller->textView()->isReadOnly() && controller->lintButton()->isEnabled());
      QCOMPARE(undoSteps(*controller), 1);
      controller->runSwiftLint();
    }
    pending(QStringLiteral("// late"));
  }

  // A length change while lint waits is not lost: it is applied to the text
  // the reply leaves, whether the helper corrected it or not.
  void settingChangeWhileLintWaits_data() {
    QTest::addColumn<std::optional<QString>>("reply");
    QTest::newRow("corrected") << std::optional<QString>(QString(longComment).replace(QStringLiteral("must"), QStringLiteral("will")));
    QTest::newRow("no reply") << std::optional<QString>();
  }
  void settingChangeWhileLintWaits() {
    QFETCH(std::optional<QString>, reply);
    auto controller = showing(longComment);
    Done pending;
    controller->setAutoCorrectionRequest(
        [&pending](const QString&, QObject*, Done done, std::chrono::milliseconds) { pending = std::move(done); });
    controller->runSwiftLint();
    QVERIFY(SharedSettings::shared().setMaxCommentLength(30).ok());
    QCoreApplication::processEvents();
    QCOMPARE(controller->wholeText(), longComment);
    pending(reply);
    QCOMPARE(controller->wholeText(), rewrapped(reply.value_or(longComment), 30));
  }

  // The picker offers Plain text and every language of the table; a sample
  // takes its language from the catalogue (the shipped ones are Swift in
  // .txt files), an opened file from its name.
  void languagePicker() {
    auto controller = showing(std::nullopt);
    QComboBox* picker = controller->languagePicker();
    QCOMPARE(picker->count(), static_cast<int>(knownLanguages().size()) + 1);
    QCOMPARE(picker->itemText(0), QStringLiteral("Plain text"));
    for (const SourceLanguage* language : knownLanguages())
      QVERIFY(picker->findText(QString::fromUtf8(language->name.data(), qsizetype(language->name.size()))) > 0);
    QCOMPARE(controller->language(), swift);
    QCOMPARE(picker->currentText(), QStringLiteral("Swift"));
    QTemporaryDir folder;
    using Named = std::pair<const char*, const SourceLanguage*>;
    for (const auto& [name, language] : {Named{"a.c", languageCalled("C")}, Named{"notes.txt", nullptr},
                                         Named{"b.RS", languageCalled("Rust")}}) {
      QVERIFY(writeFile(folder.filePath(name), "// x\n"));
      QVERIFY(controller->openFile(folder.filePath(name)));
      QCOMPARE(controller->language(), language);
    }
    controller->popupButton()->setCurrentIndex(3);
    controller->showSample();
    QCOMPARE(controller->language(), swift);
  }

  // Pasted code in its language: Wrap, Unwrap, the slider and the
  // selection forms move only comments, and every code line stays byte for
  // byte, in order. In plain text the same text would be re-wrapped whole.
  void onlyCommentsMove_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("code");
    QTest::addColumn<bool>("lineComments");  // a comment moves whatever the block comments do
    const QStringList cCode{
        "#include <stdio.h>",
        "struct point { int x; int y; };",
        "static int add(int a, int b) { return a + b; }",
        "int main(void) {",
        "  printf(\"%d // not a comment\\n\", add(1, 2));",
        "  return 0;",
        "}"};
    QTest::newRow("C with line and block comments")
        << "C"
        << "/* A block comment above the includes, long enough that wrapping it anywhere would merge it. */\n" +
               cCode[0] + "\n\n" + cCode[1] +
               "\n/*\n * Adds two numbers, with a description that runs on for far longer than\n"
               " * forty characters.\n */\n" +
               cCode[2] + "\n// Entry point of the program, whose comment is long enough to be wrapped at forty.\n" +
               cCode[3] + "\n" + cCode[4] + "\n  // a short one\n" + cCode[5] + "\n" + cCode[6] + "\n"
        << cCode << true;
    // Without a single // line: once taken for prose and wrapped whole.
    QTest::newRow("C with block comments only")
        << "C"
        << "/* Adds two numbers, with a description that runs on for far longer than forty characters. */\n" +
               cCode[1] + "\n" + cCode[2] + "\n/* The entry point. */\n" + cCode[3] + "\n" + cCode[5] + "\n" +
               cCode[6] + "\n"
        << QStringList{cCode[1], cCode[2], cCode[3], cCode[5], cCode[6]} << false;
    const QStringList pythonCode{"import os", "", "def main():", "    path = os.getcwd()  # where we are",
                                 "    return path"};
    QTest::newRow("Python")
        << "Python"
        << "# A module comment that is long enough to be wrapped at forty characters and more.\n" +
               pythonCode.join(u'\n') + "\n"
        << pythonCode << true;
  }
  void onlyCommentsMove() {
    QFETCH(QString, language);
    QFETCH(QString, text);
    QFETCH(QStringList, code);
    QFETCH(bool, lineComments);
    const SourceLanguage* chosen = languageCalled(language.toStdString());
    if (!chosen) QSKIP("the table of languages has no such language yet");
    auto controller = showing(text);
    controller->setLanguage(chosen);
    QCOMPARE(controller->languagePicker()->currentText(), language);
    // The code lines appear in the text, byte for byte and in order.
    auto keepsCode = [&code](const QString& result) {
      const QStringList lines = result.split(u'\n');
      qsizetype at = 0;
      for (const QString& line : code) {
        at = lines.indexOf(line, at);
        if (at < 0) return false;
        ++at;
      }
      return true;
    };
    QVERIFY(keepsCode(text));
    for (const std::int64_t length : {std::int64_t(1), std::int64_t(20), std::int64_t(40), noCommentLengthLimit}) {
      QVERIFY(SharedSettings::shared().setMaxCommentLength(length).ok());
      QTRY_VERIFY2_WITH_TIMEOUT(keepsCode(controller->wholeText()), qPrintable(controller->wholeText()), 10000);
      controller->wrap();
      QVERIFY2(keepsCode(controller->wholeText()), qPrintable(controller->wholeText()));
      controller->unwrap();
      QVERIFY2(keepsCode(controller->wholeText()), qPrintable(controller->wholeText()));
      controller->textView()->selectAll();
      controller->wrapSelectedComments();
      QVERIFY2(keepsCode(controller->wholeText()), qPrintable(controller->wholeText()));
      controller->textView()->selectAll();
      controller->unwrapSelectedComments();
      QVERIFY2(keepsCode(controller->wholeText()), qPrintable(controller->wholeText()));
    }
    QVERIFY(SharedSettings::shared().setMaxCommentLength(40).ok());
    // Something does move: the slider's re-wrap breaks the long comment.
    if (lineComments) QTRY_VERIFY_WITH_TIMEOUT(controller->wholeText().count(u'\n') > text.count(u'\n'), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(keepsCode(controller->wholeText()), 10000);
    // Plain text is prose: the same command there merges the code.
    controller->textView()->setPlainText(text);
    controller->setLanguage(nullptr);
    controller->wrap();
    QVERIFY(!keepsCode(controller->wholeText()));
  }

  // Colouring reads the text as the chosen language's lexer does: a "//"
  // line inside a multi-line string is code, and an edit that moves a
  // string recolours the lines after it. In plain text every line is prose.
  void colouringFollowsTheLanguage() {
    auto controller = showing(QStringLiteral("let s = \"\"\"\n// inside a string\n\"\"\"\n// a comment"));
    controller->highlightComments();
    const QString comment = namedColor(QLatin1String(commentColorName), controller->palette())->name();
    const QString code = namedColor(QLatin1String(nonCommentColorName), controller->palette())->name();
    auto colours = [&] {
      QStringList list;
      for (QTextBlock b = controller->textView()->document()->begin(); b.isValid(); b = b.next()) {
        const QList<QTextLayout::FormatRange> f = b.layout()->formats();
        list << (f.isEmpty() ? QString() : f[0].format.foreground().color().name());
      }
      return list;
    };
    QCOMPARE(colours(), (QStringList{code, code, code, comment}));
    // Without the opening quotes the second line is a comment and the third
    // opens a string that holds the last.
    QTextCursor cursor(controller->textView()->document());
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(QStringLiteral("let s = 1"));
    QTRY_COMPARE(colours(), (QStringList{code, comment, code, code}));
    controller->setLanguage(nullptr);
    QCOMPARE(colours(), (QStringList{comment, comment, comment, comment}));
  }

  // A file that brindle refuses is refused here with brindle's words; the
  // text shown and its undo history stay as they were.
  void refusedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray invalid("// caf\xe9\n");
    const QByteArray nul("// a\0b\n", 7);
    const QByteArray loneCr("// a\rb\n");
    QTest::newRow("invalid UTF-8") << invalid << QString::fromStdString(checkDecodable(invalid.toStdString()).error());
    QTest::newRow("NUL byte") << nul << QString::fromStdString(checkDecodable(nul.toStdString()).error());
    QTest::newRow("lone carriage return") << loneCr << QString::fromStdString(checkLineEnds(loneCr.toStdString()).error());
    QTest::newRow("too large") << QByteArray() << QStringLiteral("is larger than 64 MiB");
    QTest::newRow("a folder") << QByteArray("folder") << QStringLiteral("is a folder");
  }
  void refusedFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("refused.c"));
    if (bytes == "folder") {
      QVERIFY(QDir().mkpath(path));
    } else if (bytes.isEmpty()) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(maximumTextFileSize + 1));
    } else {
      QVERIFY(writeFile(path, bytes));
    }
    auto controller = showing(QStringLiteral("// kept"));
    controller->textView()->insertPlainText(QStringLiteral("typed "));
    const int steps = undoSteps(*controller);
    QVERIFY(!controller->openFile(path));
    QCOMPARE(controller->wholeText(), QStringLiteral("typed // kept"));
    QCOMPARE(undoSteps(*controller), steps);
    QVERIFY(!controller->statusLine()->isHidden());
    QVERIFY2(controller->statusLine()->text().startsWith(QStringLiteral("refused.c: ")), qPrintable(controller->statusLine()->text()));
    QVERIFY2(controller->statusLine()->text().contains(reason), qPrintable(controller->statusLine()->text()));
    QVERIFY(controller->filePath().isEmpty());
  }

  // Open, a drop and Save As: the file is shown, named, and written back
  // atomically; a save that fails says why and keeps the text.
  void openDropAndSave() {
    QTemporaryDir folder;
    const QString first = folder.filePath(QStringLiteral("first.swift"));
    const QString second = folder.filePath(QStringLiteral("second.rs"));
    QVERIFY(writeFile(first, "// one\nlet a = 1\n"));
    QVERIFY(writeFile(second, "// two\n"));
    auto controller = showing(std::nullopt);
    QSignalSpy changed(controller.get(), &SamplesViewController::documentChanged);
    QVERIFY(controller->openFile(first));
    QCOMPARE(controller->wholeText(), QStringLiteral("// one\nlet a = 1\n"));
    QCOMPARE(controller->documentName(), QStringLiteral("first.swift"));
    QVERIFY(changed.count() > 0 && !controller->hasUnsavedEdits());

    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(second)});
    QWidget* viewport = controller->textView()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    QCOMPARE(controller->wholeText(), QStringLiteral("// two\n"));
    QCOMPARE(controller->filePath(), second);
    QCOMPARE(controller->language(), languageCalled("Rust"));
    delete mime;

    controller->textView()->moveCursor(QTextCursor::End);
    controller->textView()->insertPlainText(QStringLiteral("fn main() {}\n"));
    QVERIFY(controller->hasUnsavedEdits());
    const QString saved = folder.filePath(QStringLiteral("saved.rs"));
    QVERIFY(controller->saveAs(saved));
    QCOMPARE(readFile(saved), QByteArray("// two\nfn main() {}\n"));
    QCOMPARE(controller->filePath(), saved);
    QVERIFY(!controller->hasUnsavedEdits());
    QCOMPARE(readFile(second), QByteArray("// two\n"));
    // Into a folder that is not there: nothing written, the reason said.
    QVERIFY(!controller->saveAs(folder.filePath(QStringLiteral("missing/x.rs"))));
    QVERIFY(controller->statusLine()->text().contains(QStringLiteral("not saved")));
    QCOMPARE(controller->filePath(), saved);
  }

  // Typed text survives every load: switching samples, Show Original and
  // Open are one undo step each, and the edit comes back with Undo. Only
  // the read-only Welcome page, which cannot be undone to, asks first.
  void loadsNeverLoseEdits() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mine.swift"));
    QVERIFY(writeFile(path, "// mine\n"));
    auto controller = showing(std::nullopt);
    QVERIFY(controller->openFile(path));
    controller->textView()->moveCursor(QTextCursor::End);
    QTest::keyClicks(controller->textView(), QStringLiteral("let typed = 1"));
    const QString edited = controller->wholeText();
    QCOMPARE(edited, QStringLiteral("// mine\nlet typed = 1"));

    using Load = std::function<void()>;
    const QList<Load> loads{
        [&] {
          controller->popupButton()->setCurrentIndex(3);
          controller->showSample();
        },
        [&] { controller->showOriginal(); },
        [&] { QVERIFY(controller->openFile(path)); },
    };
    for (const Load& load : loads) {
      const int steps = undoSteps(*controller);
      load();
      QVERIFY(controller->wholeText() != edited);
      QCOMPARE(undoSteps(*controller), steps + 1);
      QVERIFY(controller->hasUnsavedEdits());
      controller->textView()->undo();
      QCOMPARE(controller->wholeText(), edited);
    }

    QStringList asked;
    bool answer = false;
    controller->setDiscardQuestion([&](const QString& question) {
      asked << question;
      return answer;
    });
    const int shown = controller->popupButton()->currentIndex();
    controller->popupButton()->setCurrentIndex(0);
    controller->showSample();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(controller->wholeText(), edited);
    QCOMPARE(controller->popupButton()->currentIndex(), shown);
    answer = true;
    controller->popupButton()->setCurrentIndex(0);
    controller->showSample();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(controller->currentSample().displayName, QStringLiteral("Welcome"));
    QVERIFY(!controller->hasUnsavedEdits());
  }

  // CR-LF line ends stay CR-LF through loading, every command and saving.
  void crlfRoundTrip() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("windows.swift"));
    const QByteArray original = "// This comment is long enough that wrapping it at forty must break it, teh end.\r\n"
                                "let value = 1\r\n// The file was written by the scheduler.\r\n";
    QVERIFY(writeFile(path, original));
    auto controller = showing(std::nullopt);
    QVERIFY(controller->openFile(path));
    QVERIFY(!controller->wholeText().contains(u'\r'));
    const QString copy = folder.filePath(QStringLiteral("copy.swift"));
    QVERIFY(controller->saveAs(copy));
    QCOMPARE(readFile(copy), original);

    controller->setAutoCorrectionRequest(
        [](const QString& text, QObject*, Done done, std::chrono::milliseconds) { done(text); });
    for (const char* selector : {"wrap:", "checkAllSpelling:", "checkAllGrammar:", "runSwiftLint:", "removeMarkers:",
                                 "unwrap:", "wrap:"}) {
      controller->commandAction(QString::fromLatin1(selector))->trigger();
      QVERIFY(controller->saveAs(copy));
      const QByteArray bytes = readFile(copy);
      QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
      QCOMPARE(QString::fromUtf8(bytes).remove(u'\r'), controller->wholeText());
    }
    QVERIFY(controller->wholeText().count(u'\n') > 3);
  }

  // A check run again replaces its own marker lines instead of adding
  // more; Remove Marker Lines takes them all out in one undo step and says
  // when there are none.
  void markerLines() {
    const QString text = QStringLiteral("let x = 1\n// teh wrold was written by hand.\n    // indented teh\n");
    auto controller = showing(text);
    controller->checkAllSpelling();
    const QString spelt = controller->wholeText();
    QVERIFY(spelt.count(QStringLiteral("▲")) > 0);
    controller->checkAllSpelling();
    QCOMPARE(controller->wholeText(), spelt);
    controller->checkAllGrammar();
    const QString both = controller->wholeText();
    QVERIFY(both.count(u'\n') > spelt.count(u'\n'));
    controller->checkAllGrammar();
    QCOMPARE(controller->wholeText(), both);
    // Spelling again puts its markers back under their lines, grammar's
    // stay: the same lines, perhaps in another order.
    controller->textView()->selectAll();
    controller->checkSpellingInSelection();
    auto sorted = [](const QString& t) {
      QStringList lines = t.split(u'\n');
      lines.sort();
      return lines;
    };
    QCOMPARE(sorted(controller->wholeText()), sorted(both));

    const int steps = undoSteps(*controller);
    controller->removeMarkers();
    QCOMPARE(controller->wholeText(), text);
    QCOMPARE(undoSteps(*controller), steps + 1);
    QVERIFY(controller->statusLine()->isHidden());
    controller->removeMarkers();
    QCOMPARE(undoSteps(*controller), steps + 1);
    QVERIFY(!controller->statusLine()->isHidden());
    controller->textView()->undo();
    QCOMPARE(sorted(controller->wholeText()), sorted(both));

    // Lines that only look alike stay.
    const QString lookalikes = QStringLiteral("// ▲ marks the spot\nlet up = \"▲\"\n");
    controller->textView()->setPlainText(lookalikes);
    controller->removeMarkers();
    QCOMPARE(controller->wholeText(), lookalikes);
  }

  // Lint without a helper says so instead of looking like a clean text.
  void lintWithoutHelperSaysSo() {
    auto controller = showing(QStringLiteral("//teh x"));
    controller->setAutoCorrectionRequest(
        [](const QString&, QObject*, Done done, std::chrono::milliseconds) { done(std::nullopt); });
    QVERIFY(lintAndWait(*controller));
    QCOMPARE(controller->wholeText(), QStringLiteral("//teh x"));
    QVERIFY(!controller->statusLine()->isHidden());
    QVERIFY2(controller->statusLine()->text().contains(QStringLiteral("helper")), qPrintable(controller->statusLine()->text()));
  }

  // A command leaves the view at the start of the lines, not scrolled
  // sideways, even where the lines stay as long as they were.
  void commandsScrollBackToLineStarts() {
    auto controller = showing(longComment);
    controller->resize(300, 200);
    controller->show();
    QVERIFY(QTest::qWaitForWindowExposed(controller.get(), 60000));
    QScrollBar* sideways = controller->textView()->horizontalScrollBar();
    QVERIFY(sideways->maximum() > 0);
    sideways->setValue(sideways->maximum());
    controller->checkAllGrammar();
    QCOMPARE(sideways->value(), 0);
  }

  // The "▲" marks line up only where every character has one advance: a
  // proportional choice gives way to a monospaced family, a monospaced one
  // stays even when its font file does not declare itself fixed pitch (Noto
  // Sans Mono). The fonts come from the test's own files, not from whatever
  // the machine matches by name.
  void workbenchFontIsFixedPitch() {
    for (const char* file : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                             "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                             "/usr/share/fonts/truetype/noto/NotoSansMono-Regular.ttf"})
      QVERIFY2(QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0,
               "font missing: ./scripts/install-deps.sh installs it");
    QVERIFY(!hasEqualAdvances(QFont(QStringLiteral("DejaVu Sans"))));
    QVERIFY(hasEqualAdvances(ensureFixedPitch(QFont(QStringLiteral("DejaVu Sans")))));
    for (const char* family : {"DejaVu Sans Mono", "Noto Sans Mono"}) {
      const QFont fixed(QString::fromLatin1(family));
      QVERIFY2(hasEqualAdvances(fixed), family);
      QCOMPARE(ensureFixedPitch(fixed), fixed);
    }
    QVERIFY(hasEqualAdvances(SamplesViewController().textView()->font()));
  }

  // The real helper, activated by a private session bus: the sample's
  // misspellings are corrected in one undoable edit. Runs only where the
  // test is started on such a bus.
  void realHelperCorrectsTheSample() {
    if (qEnvironmentVariableIsEmpty("BRINDLEWORT_TEST_REAL_HELPER")) QSKIP("needs the private bus with the helper");
    auto controller = showing(std::nullopt, 0, 0, 6);
    const QString original = controller->wholeText();
    QVERIFY(original.contains(QStringLiteral("teh next request")));
    QVERIFY(lintAndWait(*controller));
    const QString corrected = controller->wholeText();
    QVERIFY2(corrected.contains(QStringLiteral("the next request")), qPrintable(corrected));
    QVERIFY(corrected.contains(QStringLiteral("let retryLimit = 3")));
    QCOMPARE(undoSteps(*controller), 1);
    controller->textView()->undo();
    QCOMPARE(controller->wholeText(), original);
  }

  // The real client with no session bus to reach: the command ends within
  // its bound and leaves the text as it was.
  void noHelperReachable() {
    const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/brindlewort-test-bus");
    auto controller = showing(QStringLiteral("//teh x"));
    controller->setAutoCorrectionBound(std::chrono::milliseconds(3000));
    QVERIFY(lintAndWait(*controller));
    QCOMPARE(controller->wholeText(), QStringLiteral("//teh x"));
    QCOMPARE(undoSteps(*controller), 0);
    QVERIFY(!controller->textView()->isReadOnly());
    QVERIFY(controller->statusLine()->text().contains(QStringLiteral("helper")));
    qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
  }
};

QTEST_MAIN(SamplesViewControllerTest)
#include "samples_view_controller_test.moc"
