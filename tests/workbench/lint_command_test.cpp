// The lint command: the helper's reply replaces the text as one undoable
// edit; an empty reply, no reply or no helper change nothing; while it
// waits the window keeps running and the text cannot be edited.

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "settings/shared_settings.h"
#include "workbench_test_support.h"

using namespace brindlewort;
using namespace brindlewort::testing;

namespace {

using Done = std::function<void(std::optional<QString>)>;

struct Reply {
  QString input;
  std::optional<QString> reply;
  QString shown;
  int steps;
};

// A helper whose answer the test gives later through `pending`.
SamplesViewController::AutoCorrectionRequest holding(Done& pending) {
  return [&pending](const QString&, QObject*, Done done, std::chrono::milliseconds) { pending = std::move(done); };
}

// Runs the lint command through the real client and waits for its end.
bool lintAndWait(SamplesViewController& controller) {
  QSignalSpy finished(&controller, &SamplesViewController::autoCorrectionFinished);
  controller.runSwiftLint();
  return finished.count() == 1 || finished.wait(60000);
}

}  // namespace

class LintCommandTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { SharedSettings::shared().resetMaxCommentLength(); }

  void replyHandling_data() {
    QTest::addColumn<Reply>("c");
    QTest::newRow("corrected") << Reply{"//teh x  \nlet a", QStringLiteral("// the x\nlet a"), "// the x\nlet a", 1};
    QTest::newRow("same text is still an edit") << Reply{"// x", QStringLiteral("// x"), "// x", 1};
    QTest::newRow("empty reply") << Reply{"// x", QString(), "// x", 0};
    QTest::newRow("no reply") << Reply{"// x", std::nullopt, "// x", 0};
    QTest::newRow("empty text is sent") << Reply{"", std::nullopt, "", 0};
  }
  void replyHandling() {
    QFETCH(Reply, c);
    SamplesViewController controller;
    QString sent = QStringLiteral("(nothing)");
    controller.setAutoCorrectionRequest([&sent, c](const QString& text, QObject*, Done done, std::chrono::milliseconds) {
      sent = text;
      done(c.reply);
    });
    showEditableText(controller, c.input);
    QSignalSpy finished(&controller, &SamplesViewController::autoCorrectionFinished);
    controller.commandAction(QStringLiteral("runSwiftLint:"))->trigger();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(sent, c.input);
    QCOMPARE(controller.wholeText(), c.shown);
    QCOMPARE(undoSteps(controller), c.steps);
    QVERIFY(!controller.textView()->isReadOnly());
    controller.textView()->undo();
    QCOMPARE(controller.wholeText(), c.input);
  }

  // While the reply is outstanding, typing and other commands change
  // nothing, so the reply cannot overwrite anything; afterwards the view is
  // editable again. A reply after the controller is gone does nothing.
  void textIsLockedWhileWaiting() {
    Done pending;
    {
      SamplesViewController controller;
      controller.setAutoCorrectionRequest(holding(pending));
      showEditableText(controller, QStringLiteral("// before"));
      controller.show();
      controller.runSwiftLint();
      QVERIFY(controller.textView()->isReadOnly());
      QCOMPARE(controller.cursor().shape(), Qt::BusyCursor);
      QVERIFY(!controller.popupButton()->isEnabled());
      controller.textView()->setFocus();
      QTest::keyClicks(controller.textView(), QStringLiteral("typed"));
      controller.checkAllGrammar();
      controller.showOriginal();
      controller.runSwiftLint();  // a second request while waiting is ignored
      QCOMPARE(controller.wholeText(), QStringLiteral("// before"));

      pending(QStringLiteral("// after"));
      QCOMPARE(controller.wholeText(), QStringLiteral("// after"));
      QVERIFY(!controller.textView()->isReadOnly() && controller.lintButton()->isEnabled());
      QCOMPARE(undoSteps(controller), 1);
      controller.runSwiftLint();
    }
    pending(QStringLiteral("// late"));
  }

  // The real helper, activated by a private session bus: the sample's
  // misspellings are corrected in one undoable edit. Runs only where the
  // test is started on such a bus.
  void realHelperCorrectsTheSample() {
    if (qEnvironmentVariableIsEmpty("BRINDLEWORT_TEST_REAL_HELPER")) QSKIP("needs the private bus with the helper");
    SamplesViewController controller;
    controller.popupButton()->setCurrentIndex(6);
    controller.showSample();
    const QString original = controller.wholeText();
    QVERIFY(original.contains(QStringLiteral("teh next request")));
    QVERIFY(lintAndWait(controller));
    const QString corrected = controller.wholeText();
    QVERIFY2(corrected.contains(QStringLiteral("the next request")), qPrintable(corrected));
    QVERIFY(corrected.contains(QStringLiteral("let retryLimit = 3")));
    QCOMPARE(undoSteps(controller), 1);
    controller.textView()->undo();
    QCOMPARE(controller.wholeText(), original);
  }

  // The real client with no session bus to reach: the command ends within
  // its bound and leaves the text as it was.
  void noHelperReachable() {
    const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/brindlewort-test-bus");
    SamplesViewController controller;
    controller.setAutoCorrectionBound(std::chrono::milliseconds(3000));
    showEditableText(controller, QStringLiteral("//teh x"));
    QVERIFY(lintAndWait(controller));
    QCOMPARE(controller.wholeText(), QStringLiteral("//teh x"));
    QCOMPARE(undoSteps(controller), 0);
    QVERIFY(!controller.textView()->isReadOnly());
    qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
  }
};

QTEST_MAIN(LintCommandTest)
#include "lint_command_test.moc"
