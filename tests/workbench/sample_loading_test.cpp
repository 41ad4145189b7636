// The catalogue, the pop-up that offers it and the loading of each sample.

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "settings/shared_settings.h"
#include "workbench/sample_loading.h"
#include "workbench/samples_view_controller.h"

using namespace brindlewort;

namespace {

bool allButtonsEnabled(const SamplesViewController& c, bool enabled) {
  for (QPushButton* b : c.commandButtons())
    if (b->isEnabled() != enabled) return false;
  return true;
}

struct Load {
  QString fileName;
  QByteArray bytes;  // empty: the file is not created
  bool editable;
  QString shown;
};

}  // namespace

class SampleLoadingTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { SharedSettings::shared().resetMaxCommentLength(); }

  // Nine entries with separators at 1, 5 and 7; Welcome shows first, read
  // only, without comment colouring and with the commands disabled.
  void startsOnWelcomeFromTheCatalogue() {
    SamplesViewController controller;
    QComboBox* popup = controller.popupButton();
    const QStringList titles{"Welcome", "", "The Basics", "Documentation", "Structured",
                             "", "SwiftLint", "", "Spell Checking"};
    QCOMPARE(popup->count(), titles.size());
    auto* model = qobject_cast<QStandardItemModel*>(popup->model());
    for (int i = 0; i < titles.size(); ++i) {
      const bool separator = i == 1 || i == 5 || i == 7;
      QCOMPARE(popup->itemText(i), titles[i]);
      QCOMPARE(popup->itemData(i, Qt::AccessibleDescriptionRole).toString() == u"separator", separator);
      QCOMPARE(model->item(i)->isEnabled(), !separator);
    }
    QCOMPARE(popup->currentIndex(), 0);
    QVERIFY(controller.textView()->isReadOnly());
    QVERIFY(allButtonsEnabled(controller, false));
    QVERIFY(controller.wholeText().contains(QStringLiteral("Welcome to Brindlewort")));
    QVERIFY(controller.textView()->document()->firstBlock().layout()->formats().isEmpty());  // not coloured
  }

  // Every bundled sample loads as editable plain text with no undo history;
  // showOriginal discards edits.
  void everySampleLoads_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("firstWords");
    QTest::newRow("The Basics") << 2 << "// Welcome to the basics.";
    QTest::newRow("Documentation") << 3 << "/// Downloads a file";
    QTest::newRow("Structured") << 4 << "// Lists keep their shape";
    QTest::newRow("SwiftLint") << 6 << "// The lint command";
    QTest::newRow("Spell Checking") << 8 << "// Press Spelling";
  }
  void everySampleLoads() {
    QFETCH(int, index);
    QFETCH(QString, firstWords);
    SamplesViewController controller;
    controller.popupButton()->setCurrentIndex(index);
    controller.showSample();
    const QString original = controller.wholeText();
    QVERIFY2(original.startsWith(firstWords), qPrintable(original.left(80)));
    QVERIFY(!controller.textView()->isReadOnly());
    QVERIFY(allButtonsEnabled(controller, true));
    QCOMPARE(controller.textView()->document()->availableUndoSteps(), 0);
    controller.textView()->setPlainText(QStringLiteral("edited"));
    controller.showOriginal();
    QCOMPARE(controller.wholeText(), original);
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
    SamplesViewController controller(nullptr, {{QStringLiteral("Sample"), c.fileName, c.editable}});
    controller.setSampleFolder(folder.path());
    controller.showOriginal();
    QCOMPARE(controller.wholeText(), c.shown);
    QCOMPARE(controller.textView()->isReadOnly(), !c.editable);
    QCOMPARE(allButtonsEnabled(controller, true), c.editable);
  }

  void missingFolderKeepsTextButSetsStates() {
    SamplesViewController controller;
    const QString welcome = controller.wholeText();
    controller.setSampleFolder(QStringLiteral("/nonexistent/Sample Files"));
    controller.popupButton()->setCurrentIndex(2);
    controller.showSample();
    QCOMPARE(controller.wholeText(), welcome);
    QVERIFY(!controller.textView()->isReadOnly());
    QVERIFY(allButtonsEnabled(controller, true));
  }
};

QTEST_MAIN(SampleLoadingTest)
#include "sample_loading_test.moc"
