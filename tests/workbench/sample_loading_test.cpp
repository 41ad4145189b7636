// The catalogue, the pop-up that offers it and the loading of each sample.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "settings/shared_settings.h"
#include "workbench/sample_loading.h"
#include "workbench/samples_view_controller.h"

using namespace brindlewort;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

bool allButtonsEnabled(const SamplesViewController& c, bool enabled) {
  for (QPushButton* b : c.commandButtons()) {
    if (b->isEnabled() != enabled) return false;
  }
  return true;
}

}  // namespace

class SampleLoadingTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { SharedSettings::shared().resetMaxCommentLength(); }

  void popupHoldsTheCatalogueWithSeparators() {
    SamplesViewController controller;
    QComboBox* popup = controller.popupButton();
    QCOMPARE(popup->count(), 9);
    const QStringList titles{"Welcome", "", "The Basics", "Documentation", "Structured",
                             "", "SwiftLint", "", "Spell Checking"};
    auto* model = qobject_cast<QStandardItemModel*>(popup->model());
    QVERIFY(model);
    for (int i = 0; i < 9; ++i) {
      const bool separator = i == 1 || i == 5 || i == 7;
      QCOMPARE(popup->itemText(i), titles[i]);
      QCOMPARE(popup->itemData(i, Qt::AccessibleDescriptionRole).toString() == QLatin1String("separator"),
               separator);
      QCOMPARE(model->item(i)->isEnabled(), !separator);
      QCOMPARE(controller.samples()[static_cast<std::size_t>(i)].displayName, titles[i]);
    }
  }

  void startsOnWelcomeReadOnlyWithCommandsDisabled() {
    SamplesViewController controller;
    QCOMPARE(controller.popupButton()->currentIndex(), 0);
    QCOMPARE(controller.currentSample().displayName, QStringLiteral("Welcome"));
    QVERIFY(controller.textView()->isReadOnly());
    QVERIFY(allButtonsEnabled(controller, false));
    QVERIFY(controller.wholeText().contains(QStringLiteral("Welcome to Brindlewort")));
  }

  // Every bundled sample loads; the editable ones as plain text.
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
    QVERIFY2(controller.wholeText().startsWith(firstWords), qPrintable(controller.wholeText().left(80)));
    QVERIFY(!controller.textView()->isReadOnly());
    QVERIFY(allButtonsEnabled(controller, true));
    QCOMPARE(controller.textView()->document()->availableUndoSteps(), 0);
  }

  void showOriginalDiscardsEdits() {
    SamplesViewController controller;
    controller.popupButton()->setCurrentIndex(2);
    controller.showSample();
    const QString original = controller.wholeText();
    controller.textView()->setPlainText(QStringLiteral("edited"));
    controller.showOriginal();
    QCOMPARE(controller.wholeText(), original);
  }

  // Loading from a folder of our own covers the failure paths.
  void loadingRules_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");  // empty: the file is not created
    QTest::addColumn<QString>("shown");
    QTest::newRow("utf-8 text") << "a.txt" << QByteArray("// caf\xc3\xa9 \xf0\x9f\x98\x80\n") << "// café 😀\n";
    QTest::newRow("utf-16 with bom") << "b.txt" << QByteArray("\xff\xfe/\0/\0 \0x\0", 10) << "// x";
    QTest::newRow("nul bytes load") << "c.txt" << QByteArray("a\0b", 3) << QString::fromUtf16(u"a\0b", 3);
    QTest::newRow("invalid utf-8") << "d.txt" << QByteArray("// \xff\xfe bad") << failedToLoadSampleMessage;
    QTest::newRow("missing file") << "e.txt" << QByteArray() << failedToLoadSampleMessage;
    QTest::newRow("capital extension") << "f.TXT" << QByteArray("x") << "Unknown document type: TXT";
    QTest::newRow("rtf is not read here") << "g.rtf" << QByteArray("{\\rtf1}") << "Unknown document type: rtf";
    QTest::newRow("no extension") << "h" << QByteArray("x") << "Unknown document type: ";
  }
  void loadingRules() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QTemporaryDir folder;
    if (!bytes.isEmpty()) writeFile(folder.filePath(fileName), bytes);
    SamplesViewController controller(nullptr, {{QStringLiteral("Sample"), fileName, true}});
    controller.setSampleFolder(folder.path());
    controller.showOriginal();
    QCOMPARE(controller.wholeText(), shown);
    QVERIFY(!controller.textView()->isReadOnly());
    QVERIFY(allButtonsEnabled(controller, true));
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

  void unreadableRichTextLeavesViewEmpty() {
    QTemporaryDir folder;
    SamplesViewController controller(nullptr, {{QStringLiteral("Rich"), QStringLiteral("gone.html"), false}});
    controller.setSampleFolder(folder.path());
    controller.showOriginal();
    QCOMPARE(controller.wholeText(), QString());
    QVERIFY(controller.textView()->isReadOnly());
  }

  // The Welcome document keeps its own rich formatting: no colouring.
  void welcomeKeepsItsFormatting() {
    SamplesViewController controller;
    const QTextBlock title = controller.textView()->document()->firstBlock();
    QVERIFY(title.layout()->formats().isEmpty());
    bool bold = false;
    for (auto it = title.begin(); !it.atEnd(); ++it) bold = bold || it.fragment().charFormat().fontWeight() > QFont::Normal;
    QVERIFY(bold);
  }
};

QTEST_MAIN(SampleLoadingTest)
#include "sample_loading_test.moc"
