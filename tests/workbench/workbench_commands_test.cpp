// The workbench commands on the text view: results, undo, the rules for
// when the text is replaced, selection widening, menu validation, the
// deferred re-wrap and the colouring.

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include "engine/comment_length.h"
#include "engine/rewrap.h"
#include "proofreading/grammar_check.h"
#include "proofreading/spell_check.h"
#include "settings/shared_settings.h"
#include "workbench/line_widening.h"
#include "workbench/named_colors.h"
#include "workbench_test_support.h"

using namespace brindlewort;
using namespace brindlewort::testing;

namespace {

const QString longComment = QStringLiteral(
    "// This comment paragraph is far longer than forty characters, so wrapping it must break it.");

QString engineRewrap(const QString& text, std::int64_t length) {
  return QString::fromStdString(joinLines(rewrapLines(splitLines(text.toStdString()), length)));
}

void select(SamplesViewController& c, qsizetype start, qsizetype length) {
  QTextCursor cursor = c.textView()->textCursor();
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
  c.textView()->setTextCursor(cursor);
}

TextRange selection(const SamplesViewController& c) {
  const QTextCursor cursor = c.textView()->textCursor();
  return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

}  // namespace

Q_DECLARE_METATYPE(brindlewort::TextRange)

class WorkbenchCommandsTest : public QObject {
  Q_OBJECT
 private:
  std::shared_ptr<ListSpellChecker> checker_ =
      std::make_shared<ListSpellChecker>(QSet<QString>{QStringLiteral("teh"), QStringLiteral("wrold")});

 private slots:
  void init() { SharedSettings::shared().setMaxCommentLength(40); }
  void cleanupTestCase() { SharedSettings::shared().resetMaxCommentLength(); }

  // Each whole-text command: the engine's result, one undo step, and one
  // undo giving back the exact text (characters outside the BMP, combining
  // marks and no-break spaces included).
  void wholeTextCommandsAreOneUndoableEdit_data() {
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("input");
    const QString mixed = QStringLiteral(
        "let x = 1\n// Caf\u00e9 cre\u0300me \U0001F600 na\u00efve text\u00a0with a no-break space that "
        "goes on well past the limit\n\n    // indented comment that is also long enough to wrap here\n");
    QTest::newRow("wrap") << "wrap:" << longComment + "\nlet a = 1";
    QTest::newRow("wrap, unicode") << "wrap:" << mixed;
    QTest::newRow("unwrap") << "unwrap:" << "// one\n// two\n// three\ncode()";
    QTest::newRow("spelling") << "checkAllSpelling:" << "// teh wrold\nlet teh = 1";
    QTest::newRow("grammar") << "checkAllGrammar:" << "// The file was written by the scheduler.";
  }
  void wholeTextCommandsAreOneUndoableEdit() {
    QFETCH(QString, selector);
    QFETCH(QString, input);
    SamplesViewController controller;
    controller.setSpellChecker(checker_);
    showEditableText(controller, input);

    QString expected;
    const std::vector<std::string> lines = splitLines(input.toStdString());
    if (selector == u"wrap:") expected = engineRewrap(input, 40);
    if (selector == u"unwrap:") expected = engineRewrap(input, noCommentLengthLimit);
    if (selector == u"checkAllSpelling:") expected = QString::fromStdString(joinLines(spellCheckLines(lines, *checker_)));
    if (selector == u"checkAllGrammar:") expected = QString::fromStdString(joinLines(grammarCheckLines(lines)));
    QVERIFY2(expected != input, "each row must change its text");

    controller.commandAction(selector)->trigger();
    QCOMPARE(controller.wholeText(), expected);
    QCOMPARE(undoSteps(controller), 1);
    controller.textView()->undo();
    QCOMPARE(controller.wholeText(), input);
  }

  // Wrap and the selection forms replace only on change; the whole-text
  // proofreading commands always do.
  void replacementRules_data() {
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("steps");
    QTest::newRow("wrap of short comment") << "wrap:" << "// short\nlet a = 1" << 0;
    QTest::newRow("unwrap of one line") << "unwrap:" << "// short" << 0;
    QTest::newRow("wrap selection unchanged") << "wrapSelectedComments:" << "// short" << 0;
    QTest::newRow("spelling, nothing found") << "checkAllSpelling:" << "// all good" << 1;
    QTest::newRow("grammar, nothing found") << "checkAllGrammar:" << "// all good" << 1;
    QTest::newRow("spelling in selection, nothing found") << "checkSpellingInSelection:" << "// all good" << 0;
    QTest::newRow("grammar in selection, nothing found") << "checkGrammarInSelection:" << "// all good" << 0;
    QTest::newRow("empty text, wrap") << "wrap:" << "" << 0;
    // Replacing nothing by nothing leaves no step the user could undo.
    QTest::newRow("empty text, spelling") << "checkAllSpelling:" << "" << 0;
  }
  void replacementRules() {
    QFETCH(QString, selector);
    QFETCH(QString, input);
    QFETCH(int, steps);
    SamplesViewController controller;
    controller.setSpellChecker(checker_);
    showEditableText(controller, input);
    controller.commandAction(selector)->trigger();
    QCOMPARE(controller.wholeText(), input);
    QCOMPARE(undoSteps(controller), steps);
  }

  void lineWidening_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<TextRange>("widened");
    const QString three = QStringLiteral("ab\ncd\nef");
    QTest::newRow("cursor inside a line takes its line feed") << three << 4 << 0 << TextRange{3, 3};
    QTest::newRow("cursor at a line start") << three << 3 << 0 << TextRange{3, 3};
    QTest::newRow("cursor at the text start") << three << 0 << 0 << TextRange{0, 3};
    QTest::newRow("selection ending on a line feed stops there") << three << 3 << 3 << TextRange{3, 3};
    QTest::newRow("selection ending before a line feed takes it") << three << 3 << 2 << TextRange{3, 3};
    QTest::newRow("selection over two lines") << three << 1 << 3 << TextRange{0, 6};
    QTest::newRow("last line without line feed runs to the end") << three << 7 << 0 << TextRange{6, 2};
    QTest::newRow("cursor at the very end") << three << 8 << 0 << TextRange{6, 2};
    QTest::newRow("everything") << three << 0 << 8 << TextRange{0, 8};
    QTest::newRow("after a trailing line feed") << QStringLiteral("ab\n") << 3 << 0 << TextRange{3, 0};
    QTest::newRow("line before a trailing line feed") << QStringLiteral("ab\n") << 1 << 0 << TextRange{0, 3};
    QTest::newRow("empty text") << QString() << 0 << 0 << TextRange{0, 0};
    QTest::newRow("line separator ends a line") << QStringLiteral("ab\u2028cd") << 4 << 0 << TextRange{3, 2};
  }
  void lineWidening() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(TextRange, widened);
    QCOMPARE(wholeLines(text, {start, length}), widened);

    SamplesViewController controller;
    showEditableText(controller, text);
    select(controller, start, length);
    QCOMPARE(controller.selectWholeLines(), widened);
    QCOMPARE(selection(controller), widened);
  }

  // A cursor in a long comment line: only that line is wrapped, its line
  // feed survives, and undo gives the text back.
  void wrapSelectedCommentsActsOnTheCursorLine() {
    SamplesViewController controller;
    const QString input = longComment + "\n" + longComment + "\nlet a = 1";
    showEditableText(controller, input);
    select(controller, 10, 0);
    controller.wrapSelectedComments();
    QCOMPARE(controller.wholeText(), engineRewrap(longComment, 40) + "\n" + longComment + "\nlet a = 1");
    QCOMPARE(undoSteps(controller), 1);
    controller.textView()->undo();
    QCOMPARE(controller.wholeText(), input);
  }

  void unwrapSelectedCommentsOnLastLineWithoutLineFeed() {
    SamplesViewController controller;
    const QString input = QStringLiteral("code()\n// one\n// two");
    showEditableText(controller, input);
    select(controller, input.size(), 0);
    controller.unwrapSelectedComments();
    QCOMPARE(controller.wholeText(), QStringLiteral("code()\n// one\n// two"));  // one line only
    select(controller, 8, input.size() - 8);
    controller.unwrapSelectedComments();
    QCOMPARE(controller.wholeText(), QStringLiteral("code()\n// one two"));
  }

  void spellingInSelectionMarksOnlySelectedLines() {
    SamplesViewController controller;
    controller.setSpellChecker(checker_);
    const QString input = QStringLiteral("// teh one\n// teh two\n");
    showEditableText(controller, input);
    select(controller, 12, 0);
    controller.checkSpellingInSelection();
    const std::vector<std::string> marked = spellCheckLines(std::vector<std::string>{"// teh two", ""}, *checker_);
    QCOMPARE(controller.wholeText(), QStringLiteral("// teh one\n") + QString::fromStdString(joinLines(marked)));
    QCOMPARE(undoSteps(controller), 1);
  }

  // On the read-only Welcome sample nothing changes, the wrap and spelling
  // items are disabled and the grammar items stay enabled.
  void welcomeIsNeverChanged() {
    SamplesViewController controller;
    const QString welcome = controller.wholeText();
    for (QAction* action : controller.commandActions()) {
      if (action->objectName() != u"runSwiftLint:") action->trigger();
    }
    controller.wrap();
    controller.checkAllGrammar();
    controller.checkGrammarInSelection();
    QCOMPARE(controller.wholeText(), welcome);
    QCOMPARE(undoSteps(controller), 0);
  }

  void menuValidation_data() {
    QTest::addColumn<int>("sample");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<bool>("enabled");
    const char* followers[] = {"wrap:", "wrapSelectedComments:", "unwrap:", "unwrapSelectedComments:",
                               "checkAllSpelling:", "checkSpellingInSelection:", "runSwiftLint:"};
    for (const char* s : followers) {
      QTest::addRow("Welcome %s", s) << 0 << s << false;
      QTest::addRow("Basics %s", s) << 2 << s << true;
    }
    for (const char* s : {"checkAllGrammar:", "checkGrammarInSelection:", "showOriginal:"}) {
      QTest::addRow("Welcome %s", s) << 0 << s << true;
    }
  }
  void menuValidation() {
    QFETCH(int, sample);
    QFETCH(QString, selector);
    QFETCH(bool, enabled);
    SamplesViewController controller;
    controller.popupButton()->setCurrentIndex(sample);
    controller.showSample();
    QAction* item = controller.commandAction(selector);
    QVERIFY(item);
    StdoutCapture out;
    QCOMPARE(controller.validateUserInterfaceItem(item), enabled);
    const QString line = out.text();
    QVERIFY2(line.startsWith(QStringLiteral("Checking item: ")), qPrintable(line));
    QVERIFY2(line.endsWith(sample == 0 ? QStringLiteral(", editable: false\n") : QStringLiteral(", editable: true\n")),
             qPrintable(line));
    // Shortcuts fire without the menu, so the action state already agrees.
    QCOMPARE(item->isEnabled(), enabled);
  }

  void validateMenuWritesOneLinePerItem() {
    SamplesViewController controller;
    QMenu menu;
    QAction plain(QStringLiteral("No action"));
    menu.addAction(&plain);
    menu.addSeparator();
    menu.addActions(controller.commandActions());
    StdoutCapture out;
    controller.validateMenu(&menu);
    QCOMPARE(out.text().count(QStringLiteral("Checking item: ")), controller.commandActions().size() + 1);
    QVERIFY(plain.isEnabled());
    QVERIFY(!controller.commandAction(QStringLiteral("wrap:"))->isEnabled());
  }

  // The setting's change re-wraps one turn later, at the length read then;
  // two changes in one turn give two re-wraps at the final length.
  void settingChangeRewrapsOneTurnLater() {
    SamplesViewController controller;
    showEditableText(controller, longComment);
    SharedSettings::shared().setMaxCommentLength(50);
    SharedSettings::shared().setMaxCommentLength(30);
    QCOMPARE(controller.wholeText(), longComment);
    QTRY_COMPARE(controller.wholeText(), engineRewrap(longComment, 30));
    QCoreApplication::processEvents();
    QCOMPARE(undoSteps(controller), 1);

    SharedSettings::shared().setMaxCommentLength(noCommentLengthLimit);
    QTRY_COMPARE(controller.wholeText(), longComment);
  }

  void settingChangeLeavesWelcomeAlone() {
    SamplesViewController controller;
    const QString welcome = controller.wholeText();
    SharedSettings::shared().setMaxCommentLength(20);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(controller.wholeText(), welcome);
  }

  // After wrapping, every comment line takes the comment colour and code the
  // other; colouring adds no undo step and follows a dark palette.
  void commentHighlighting() {
    SamplesViewController controller;
    showEditableText(controller, longComment + "\n\nlet a = 1\n    indented()");
    controller.wrap();
    const int steps = undoSteps(controller);
    controller.highlightComments();
    QCOMPARE(undoSteps(controller), steps);

    auto colourOf = [](const QTextBlock& block) -> std::optional<QColor> {
      const QList<QTextLayout::FormatRange> formats = block.layout()->formats();
      if (formats.isEmpty()) return std::nullopt;
      if (formats.size() != 1 || formats[0].start != 0 || formats[0].length != block.length() - 1) return QColor();
      return formats[0].format.foreground().color();
    };
    const QColor comment = *namedColor(QLatin1String(commentColorName), controller.palette());
    const QColor code = *namedColor(QLatin1String(nonCommentColorName), controller.palette());
    int comments = 0;
    for (QTextBlock b = controller.textView()->document()->begin(); b.isValid(); b = b.next()) {
      if (b.text().isEmpty()) {
        QCOMPARE(colourOf(b), std::nullopt);
      } else if (b.text().startsWith(u"let")) {
        QCOMPARE(colourOf(b), code);
      } else {
        QCOMPARE(colourOf(b), comment);  // comment lines and space-indented lines
        ++comments;
      }
    }
    QVERIFY(comments >= 3);

    QPalette dark = controller.palette();
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    controller.setPalette(dark);
    const QColor darkComment = *namedColor(QLatin1String(commentColorName), dark);
    QVERIFY(darkComment != comment);
    QCOMPARE(colourOf(controller.textView()->document()->firstBlock()), darkComment);
    QCOMPARE(undoSteps(controller), steps);
  }

  // Typed or pasted text with CR-LF pairs: the terminators never count as
  // part of a line.
  void carriageReturnsAreNotPartOfALine() {
    SamplesViewController controller;
    showEditableText(controller, QString());
    controller.textView()->insertPlainText(QStringLiteral("// a\r\nlet b\r\n"));
    controller.highlightComments();
    const QTextBlock first = controller.textView()->document()->firstBlock();
    QVERIFY(!first.layout()->formats().isEmpty());
    QVERIFY(!first.text().contains(u'\r'));
  }
};

QTEST_MAIN(WorkbenchCommandsTest)
#include "workbench_commands_test.moc"
