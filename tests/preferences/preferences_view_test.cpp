// The preferences view: slider, length field, reset, the version line, the
// feedback mail and the embedded workbench.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QUrlQuery>
#include <QWheelEvent>

#include "url_catcher.h"
#include "engine/comment_length.h"
#include "settings/shared_settings.h"
#include "preferences/view_controller.h"
#include "workbench/samples_view_controller.h"

using namespace brindlewort;

static const QVariantMap version12{{"CFBundleShortVersionString", "1.2"}, {"CFBundleVersion", "34"}};

class PreferencesViewTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { QVERIFY(SharedSettings::shared().resetMaxCommentLength().ok()); }

  // A wheel passing over the slider leaves the shared length alone; only
  // a slider with the focus, which it then shows, follows the wheel.
  void wheelMovesTheSliderOnlyWithFocus() {
    ViewController view(version12, nullptr);
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view, 60000));
    QSlider* slider = view.maxCommentLengthSlider();
    QVERIFY(slider->focusPolicy() & Qt::TabFocus);
    QCOMPARE(slider->focusPolicy(), Qt::StrongFocus);
    auto turnWheel = [slider] {
      const QPointF centre = QRectF(slider->rect()).center();
      QWheelEvent wheel(centre, slider->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(slider, &wheel);
    };
    slider->clearFocus();
    const QImage unfocused = slider->grab().toImage();
    turnWheel();
    QCOMPARE(SharedSettings::shared().maxCommentLength(), 80);
    slider->setFocus();
    QVERIFY(slider->hasFocus());
    QVERIFY(slider->grab().toImage() != unfocused);
    turnWheel();
    QVERIFY(SharedSettings::shared().maxCommentLength() != 80);
  }

  // The stored length shows when a view opens and when another program
  // writes it, without being written back; moving the slider stores it
  // once, and reset goes back to the default.
  void lengthShowsAndIsWritten_data() {
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("field");
    QTest::newRow("no limit") << qint64(noCommentLengthLimit) << 0 << "No limit";
    QTest::newRow("far end") << qint64(200) << 200 << "200 characters";
    QTest::newRow("past the slider's end") << qint64(300) << 200 << "200 characters";
  }
  void lengthShowsAndIsWritten() {
    QFETCH(qint64, stored);
    QFETCH(int, position);
    QFETCH(QString, field);
    ViewController before(version12);
    QCOMPARE(before.maxCommentLengthSlider()->value(), 80);
    QCOMPARE(before.maxCommentLengthField()->text(), QStringLiteral("80 characters"));
    QVERIFY(SharedSettings::shared().setMaxCommentLength(stored).ok());
    ViewController after(version12);
    for (ViewController* view : {&before, &after}) {
      QCOMPARE(view->maxCommentLengthSlider()->value(), position);
      QCOMPARE(view->maxCommentLengthField()->text(), field);
    }
    QCOMPARE(SharedSettings::shared().maxCommentLength(), stored);
    if (position == 200 && stored != 200) return;  // beyond the slider's reach
    after.maxCommentLengthSlider()->setValue(33);
    QSignalSpy changes(&SharedSettings::shared(), &SharedSettings::maxCommentLengthDidChange);
    after.maxCommentLengthSlider()->setValue(position);
    QCOMPARE(SharedSettings::shared().maxCommentLength(), stored);
    QCOMPARE(before.maxCommentLengthField()->text(), field);
    QCOMPARE(changes.count(), 1);
    after.resetButton()->click();
    QCOMPARE(changes.count(), 2);
    QCOMPARE(SharedSettings::shared().maxCommentLength(), defaultMaxCommentLength);
    QCOMPARE(before.maxCommentLengthSlider()->value(), 80);
    QCOMPARE(after.maxCommentLengthField()->text(), QStringLiteral("80 characters"));
  }

  void versionAndFeedback_data() {
    using Info = std::optional<QVariantMap>;
    QTest::addColumn<Info>("info");
    QTest::addColumn<QString>("version");
    QTest::newRow("both keys") << Info(version12) << "Version: 1.2 (34)";
    QTest::newRow("no build") << Info(QVariantMap{{"CFBundleShortVersionString", "1.2"}}) << "Version: 1.2 (?\?\?)";
    QTest::newRow("no short version") << Info(QVariantMap{{"CFBundleVersion", "34"}}) << "Version not found";
    QTest::newRow("no table") << Info() << "Unknown";
    QTest::newRow("needs escaping") << Info(QVariantMap{{"CFBundleShortVersionString", "1&2"}, {"CFBundleVersion", "a+b"}})
                                    << "Version: 1&2 (a+b)";
  }
  void versionAndFeedback() {
    QFETCH(std::optional<QVariantMap>, info);
    QFETCH(QString, version);
    ViewController view(info);
    QCOMPARE(view.versionField()->text(), version);
    testing::UrlCatcher catcher(QStringLiteral("mailto"));
    view.feedbackButton()->click();
    QCOMPARE(catcher.urls.size(), 1);
    // Only a subject and a body, however the version text reads.
    const QUrlQuery query(catcher.urls.first());
    QCOMPARE(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             "Brindlewort feedback, " + version.toLower());
    QCOMPARE(query.queryItems().size(), 2);
  }

  // A stored negative length is the narrowest wrap there is, not "no
  // limit": the slider sits at its narrowest and Wrap puts one word a line.
  void negativeLengthIsNarrowest() {
    QVERIFY(SharedSettings::shared().setMaxCommentLength(-5).ok());
    ViewController view(version12);
    QCOMPARE(view.maxCommentLengthSlider()->value(), 1);
    QVERIFY(view.maxCommentLengthField()->text() != QStringLiteral("No limit"));
    SamplesViewController* samples = view.sampleController();
    samples->popupButton()->setCurrentIndex(2);
    samples->showSample();
    samples->textView()->setPlainText(QStringLiteral("// one two three\nlet a = 1"));
    samples->wrap();
    QCOMPARE(samples->wholeText(), QStringLiteral("// one\n// two\n// three\nlet a = 1"));
  }

  // A length that cannot be saved stays on the slider and in the
  // workbench's Wrap, and the window is told that it was not saved.
  void failedSaveKeepsTheChoice() {
    const QString path = SharedSettings::shared().filePath();
    ViewController view(version12);
    SamplesViewController* samples = view.sampleController();
    samples->popupButton()->setCurrentIndex(2);
    samples->showSample();
    // A folder where the file should be: every write fails.
    QFile::remove(path);
    QVERIFY(QDir().mkpath(path));
    struct Cleanup {
      QString path;
      ~Cleanup() { QDir().rmdir(path); }
    } cleanup{path};
    QSignalSpy problems(&view, &ViewController::problem);
    view.maxCommentLengthSlider()->setValue(12);
    QCOMPARE(view.maxCommentLengthSlider()->value(), 12);
    QCOMPARE(view.maxCommentLengthField()->text(), QStringLiteral("12 characters"));
    QCOMPARE(problems.count(), 1);
    QVERIFY2(problems.first().first().toString().contains(QStringLiteral("not saved")),
             qPrintable(problems.first().first().toString()));
    samples->textView()->setPlainText(QStringLiteral("// one two three four\nlet a = 1"));
    samples->wrap();
    QCOMPARE(samples->wholeText(), QStringLiteral("// one two\n// three\n// four\nlet a = 1"));
  }

  // Without a mail program the window is told, not left silent.
  void feedbackWithoutMailProgram() {
    ViewController view(version12);
    QList<QUrl> asked;
    view.setUrlOpener([&asked](const QUrl& url) {
      asked << url;
      return false;
    });
    QSignalSpy problems(&view, &ViewController::problem);
    view.feedbackButton()->click();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(problems.count(), 1);
    QVERIFY(problems.first().first().toString().contains(asked.first().path()));
  }

  // The workbench fills the box; without one the box stays empty and the
  // rest still works.
  void workbenchBox() {
    ViewController view(version12);
    QCOMPARE(view.sampleController()->parentWidget(), view.sampleBox());
    view.resize(900, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view, 60000));
    QCOMPARE(view.sampleController()->geometry(), view.sampleBox()->contentsRect());

    ViewController bare(version12, [](QWidget*) -> SamplesViewController* { return nullptr; });
    QVERIFY(!bare.sampleController() && bare.sampleBox()->findChildren<QWidget*>().isEmpty());
    bare.maxCommentLengthSlider()->setValue(50);
    QCOMPARE(bare.maxCommentLengthField()->text(), QStringLiteral("50 characters"));
  }
};

QTEST_MAIN(PreferencesViewTest)
#include "preferences_view_test.moc"
