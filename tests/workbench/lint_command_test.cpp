// The lint command: the helper's reply replaces the text as one undoable
// edit; an empty reply, no reply or no helper change nothing; while it
// waits the window keeps running and the text cannot be edited.

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "settings/shared_settings.h"
#include "workbench_test_support.h"

using namespace brindlewort;
using namespace brindlewort::testing;

namespace {

using Done = std::function<void(std::optional<QString>)>;

// A helper that answers at once with `reply` and records what it was sent.
SamplesViewController::AutoCorrectionRequest answering(std::optional<QString> reply, QString* sent = nullptr) {
  return [reply, sent](const QString& text, QObject*, Done done, std::chrono::milliseconds) {
    if (sent) *sent = text;
    done(reply);
  };
}

}  // namespace

class LintCommandTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { SharedSettings::shared().resetMaxCommentLength(); }

  void replyHandling_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<std::optional<QString>>("reply");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("steps");
    QTest::newRow("corrected") << "//teh x  \nlet a" << std::optional<QString>("// the x\nlet a") << "// the x\nlet a" << 1;
    QTest::newRow("same text is still an edit") << "// x" << std::optional<QString>("// x") << "// x" << 1;
    QTest::newRow("empty reply") << "// x" << std::optional<QString>(QString()) << "// x" << 0;
    QTest::newRow("no reply") << "// x" << std::optional<QString>() << "// x" << 0;
    QTest::newRow("empty text is sent") << "" << std::optional<QString>() << "" << 0;
  }
  void replyHandling() {
    QFETCH(QString, input);
    QFETCH(std::optional<QString>, reply);
    QFETCH(QString, shown);
    QFETCH(int, steps);
    SamplesViewController controller;
    QString sent = QStringLiteral("(nothing)");
    controller.setAutoCorrectionRequest(answering(reply, &sent));
    showEditableText(controller, input);
    QSignalSpy finished(&controller, &SamplesViewController::autoCorrectionFinished);
    controller.commandAction(QStringLiteral("runSwiftLint:"))->trigger();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(sent, input);
    QCOMPARE(controller.wholeText(), shown);
    QCOMPARE(undoSteps(controller), steps);
    QVERIFY(!controller.textView()->isReadOnly());
    if (steps == 1) {
      controller.textView()->undo();
      QCOMPARE(controller.wholeText(), input);
    }
  }

  // While the reply is outstanding, typing and other commands change
  // nothing, so the reply cannot overwrite anything; afterwards the view is
  // editable again.
  void textIsLockedWhileWaiting() {
    SamplesViewController controller;
    Done pending;
    controller.setAutoCorrectionRequest(
        [&pending](const QString&, QObject*, Done done, std::chrono::milliseconds) { pending = std::move(done); });
    showEditableText(controller, QStringLiteral("// before"));
    controller.show();
    controller.runSwiftLint();

    QVERIFY(controller.isWaitingForHelper());
    QVERIFY(controller.textView()->isReadOnly());
    QCOMPARE(controller.cursor().shape(), Qt::BusyCursor);
    QVERIFY(!controller.lintButton()->isEnabled());
    QVERIFY(!controller.popupButton()->isEnabled());
    QVERIFY(!controller.commandAction(QStringLiteral("checkAllGrammar:"))->isEnabled());
    controller.textView()->setFocus();
    QTest::keyClicks(controller.textView(), QStringLiteral("typed"));
    controller.checkAllGrammar();
    controller.showOriginal();
    controller.runSwiftLint();  // a second request while waiting is ignored
    QCOMPARE(controller.wholeText(), QStringLiteral("// before"));

    pending(QStringLiteral("// after"));
    QVERIFY(!controller.isWaitingForHelper());
    QCOMPARE(controller.wholeText(), QStringLiteral("// after"));
    QVERIFY(!controller.textView()->isReadOnly());
    QVERIFY(controller.lintButton()->isEnabled());
    QCOMPARE(undoSteps(controller), 1);
  }

  // A reply that comes after the controller is gone does nothing.
  void replyAfterDestructionIsDropped() {
    Done pending;
    {
      SamplesViewController controller;
      controller.setAutoCorrectionRequest(
          [&pending](const QString&, QObject*, Done done, std::chrono::milliseconds) { pending = std::move(done); });
      showEditableText(controller, QStringLiteral("// x"));
      controller.runSwiftLint();
    }
    pending(QStringLiteral("// y"));
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
    QSignalSpy finished(&controller, &SamplesViewController::autoCorrectionFinished);
    controller.runSwiftLint();
    QVERIFY(finished.count() == 1 || finished.wait(60000));
    const QString corrected = controller.wholeText();
    QVERIFY(corrected != original);
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
    QSignalSpy finished(&controller, &SamplesViewController::autoCorrectionFinished);
    controller.runSwiftLint();
    QVERIFY(finished.count() == 1 || finished.wait(10000));
    QCOMPARE(controller.wholeText(), QStringLiteral("//teh x"));
    QCOMPARE(undoSteps(controller), 0);
    QVERIFY(!controller.textView()->isReadOnly());
    qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
  }
};

QTEST_MAIN(LintCommandTest)
#include "lint_command_test.moc"
