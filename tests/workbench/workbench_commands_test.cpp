// The workbench commands on the text view: results, undo, the rules for
// when the text is replaced, selection widening, menu validation, the
// deferred re-wrap and the colouring.

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include "engine/comment_length.h"
#include "engine/rewrap.h"
#include "proofreading/grammar_check.h"
#include "proofreading/spell_check.h"
#include "settings/shared_settings.h"
#include "fake_spell_checker.h"
#include "workbench/named_colors.h"
#include "workbench_test_support.h"

using namespace brindlewort;
using namespace brindlewort::testing;

namespace {

const QString longComment = QStringLiteral(
    "// This comment paragraph is far longer than forty characters, so wrapping it must break it.");
const auto checker = std::make_shared<testing_support::FakeSpellChecker>(std::vector<std::string>{"teh", "wrold"});

using LinesTransform = std::function<std::vector<std::string>(const std::vector<std::string>&)>;
QString transformed(const QString& text, const LinesTransform& transform) {
  return QString::fromStdString(joinLines(transform(splitLines(text.toStdString()))));
}
QString rewrapped(const QString& text, std::int64_t length) {
  return transformed(text, [length](const auto& lines) { return rewrapLines(lines, length); });
}
QString spellChecked(const QString& text) {
  return transformed(text, [](const auto& lines) { return spellCheckLines(lines, *checker); });
}
QString grammarChecked(const QString& text) {
  return transformed(text, [](const auto& lines) { return grammarCheckLines(lines); });
}

void select(SamplesViewController& c, qsizetype start, qsizetype length) {
  QTextCursor cursor = c.textView()->textCursor();
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
  c.textView()->setTextCursor(cursor);
}

// A controller showing `input` with the given selection.
std::unique_ptr<SamplesViewController> showing(const QString& input, qsizetype start = 0, qsizetype length = 0) {
  auto controller = std::make_unique<SamplesViewController>();
  controller->setSpellChecker(checker);
  showEditableText(*controller, input);
  select(*controller, start, length);
  return controller;
}

struct Command {
  QString selector, input;
  qsizetype start, length;  // the selection
  QString expected;
};

}  // namespace

Q_DECLARE_METATYPE(brindlewort::TextRange)

class WorkbenchCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { SharedSettings::shared().setMaxCommentLength(40); }
  void cleanupTestCase() { SharedSettings::shared().resetMaxCommentLength(); }

  // Each command gives the engine's result on the whole text or on the
  // selected lines as one undo step, and one undo gives back the exact text
  // (characters outside the BMP, combining marks and no-break spaces too).
  void commandsAreOneUndoableEdit_data() {
    QTest::addColumn<Command>("c");
    const QString mixed = QStringLiteral(
        "let x = 1\n// Caf\u00e9 cre\u0300me \U0001F600 na\u00efve text\u00a0with a no-break space that "
        "goes on well past the limit\n\n    // indented comment that is also long enough to wrap here\n");
    const QString code = QStringLiteral("\nlet a = 1");
    const QString misspelt = QStringLiteral("// teh wrold\nlet teh = 1");
    const QString passive = QStringLiteral("// The file was written by the scheduler.");
    QTest::newRow("wrap") << Command{"wrap:", longComment + code, 0, 0, rewrapped(longComment + code, 40)};
    QTest::newRow("wrap, unicode") << Command{"wrap:", mixed, 0, 0, rewrapped(mixed, 40)};
    QTest::newRow("unwrap") << Command{"unwrap:", "// one\n// two\n// three\ncode()", 0, 0, "// one two three\ncode()"};
    QTest::newRow("spelling") << Command{"checkAllSpelling:", misspelt, 0, 0, spellChecked(misspelt)};
    QTest::newRow("grammar") << Command{"checkAllGrammar:", passive, 0, 0, grammarChecked(passive)};
    QTest::newRow("wrap at the cursor line") << Command{"wrapSelectedComments:", longComment + "\n" + longComment + code,
                                                        10, 0, rewrapped(longComment, 40) + "\n" + longComment + code};
    QTest::newRow("unwrap selected lines")
        << Command{"unwrapSelectedComments:", "code()\n// one\n// two", 8, 12, "code()\n// one two"};
    QTest::newRow("spelling in selection") << Command{"checkSpellingInSelection:", "// teh one\n// teh two\n", 12, 0,
                                                      "// teh one\n" + spellChecked("// teh two\n")};
    QTest::newRow("grammar in selection")
        << Command{"checkGrammarInSelection:", "// teh\n" + passive, 8, 3, "// teh\n" + grammarChecked(passive)};
  }
  void commandsAreOneUndoableEdit() {
    QFETCH(Command, c);
    QVERIFY2(c.expected != c.input, "each row must change its text");
    auto controller = showing(c.input, c.start, c.length);
    controller->commandAction(c.selector)->trigger();
    QCOMPARE(controller->wholeText(), c.expected);
    QCOMPARE(undoSteps(*controller), 1);
    controller->textView()->undo();
    QCOMPARE(controller->wholeText(), c.input);
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
    QTest::newRow("unwrap, cursor on the last line") << "unwrapSelectedComments:" << "// one\n// two" << 0;
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
    auto controller = showing(input, input.size());
    controller->commandAction(selector)->trigger();
    QCOMPARE(controller->wholeText(), input);
    QCOMPARE(undoSteps(*controller), steps);
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

  // The read-only Welcome sample: no command and no setting change alters it.
  void welcomeIsNeverChanged() {
    SamplesViewController controller;
    const QString welcome = controller.wholeText();
    for (QAction* action : controller.commandActions())
      if (action->objectName() != u"runSwiftLint:") action->trigger();
    controller.wrap();
    SharedSettings::shared().setMaxCommentLength(20);
    QTest::qWait(50);
    QCOMPARE(controller.wholeText(), welcome);
    QCOMPARE(undoSteps(controller), 0);
  }

  void menuValidation_data() {
    QTest::addColumn<int>("sample");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<bool>("enabled");
    for (const char* s : {"wrap:", "wrapSelectedComments:", "unwrap:", "unwrapSelectedComments:", "checkAllSpelling:",
                          "checkSpellingInSelection:", "runSwiftLint:"}) {
      QTest::addRow("Welcome %s", s) << 0 << s << false;
      QTest::addRow("Basics %s", s) << 2 << s << true;
    }
    for (const char* s : {"checkAllGrammar:", "checkGrammarInSelection:", "showOriginal:"})
      QTest::addRow("Welcome %s", s) << 0 << s << true;
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
    QVERIFY2(line.endsWith(sample == 0 ? u", editable: false\n" : u", editable: true\n"), qPrintable(line));
    // Shortcuts fire without the menu, so the action state already agrees.
    QCOMPARE(item->isEnabled(), enabled);

  }

  // The setting's change re-wraps one turn later, at the length read then;
  // two changes in one turn give two re-wraps at the final length.
  void settingChangeRewrapsOneTurnLater() {
    auto controller = showing(longComment);
    SharedSettings::shared().setMaxCommentLength(50);
    SharedSettings::shared().setMaxCommentLength(30);
    QCOMPARE(controller->wholeText(), longComment);
    QTRY_COMPARE(controller->wholeText(), rewrapped(longComment, 30));
    QCoreApplication::processEvents();
    QCOMPARE(undoSteps(*controller), 1);
    SharedSettings::shared().setMaxCommentLength(noCommentLengthLimit);
    QTRY_COMPARE(controller->wholeText(), longComment);
  }

  // After wrapping, comment lines (and space-indented ones) take the comment
  // colour and code the other; colouring adds no undo step and follows a
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
        expected << (line.isEmpty() ? QString() : line.startsWith(u"let") ? code : comment);
      QCOMPARE(colours(), expected);
      QVERIFY(!controller->wholeText().contains(u'\r'));
    }
    QVERIFY(namedColor(QLatin1String(commentColorName), QPalette(QColor(30, 30, 30))) !=
            namedColor(QLatin1String(commentColorName), QPalette()));
    QCOMPARE(undoSteps(*controller), steps);
  }
};

QTEST_MAIN(WorkbenchCommandsTest)
#include "workbench_commands_test.moc"
