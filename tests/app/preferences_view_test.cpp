// The preferences view: slider, length field, reset, the version line, the
// feedback mail and the embedded workbench.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QUrlQuery>

#include "app_test_support.h"
#include "engine/comment_length.h"
#include "settings/shared_settings.h"
#include "settings/view_controller.h"
#include "workbench/samples_view_controller.h"

using namespace brindlewort;

namespace {

const QVariantMap version12{{"CFBundleShortVersionString", "1.2"}, {"CFBundleVersion", "34"}};

}  // namespace

class PreferencesViewTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { SharedSettings::shared().resetMaxCommentLength(); }

  void firstStartShowsTheDefault() {
    ViewController view(version12);
    QCOMPARE(view.maxCommentLengthSlider()->value(), 80);
    QCOMPARE(view.maxCommentLengthField()->text(), QStringLiteral("80 characters"));
    QCOMPARE(SharedSettings::shared().maxCommentLength(), defaultMaxCommentLength);
  }

  void storedNoLimitShowsAsZero() {
    SharedSettings::shared().setMaxCommentLength(noCommentLengthLimit);
    ViewController view(version12);
    QCOMPARE(view.maxCommentLengthSlider()->value(), 0);
    QCOMPARE(view.maxCommentLengthField()->text(), QStringLiteral("No limit"));
  }

  void sliderWritesTheSetting_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<QString>("field");
    QTest::newRow("no limit") << 0 << qint64(noCommentLengthLimit) << "No limit";
    QTest::newRow("one") << 1 << qint64(1) << "1 characters";
    QTest::newRow("120") << 120 << qint64(120) << "120 characters";
    QTest::newRow("far end") << 200 << qint64(200) << "200 characters";
  }
  void sliderWritesTheSetting() {
    QFETCH(int, position);
    QFETCH(qint64, stored);
    QFETCH(QString, field);
    ViewController view(version12);
    QSignalSpy changes(&SharedSettings::shared(), &SharedSettings::maxCommentLengthDidChange);
    view.maxCommentLengthSlider()->setValue(position);
    QCOMPARE(SharedSettings::shared().maxCommentLength(), stored);
    QCOMPARE(view.maxCommentLengthField()->text(), field);
    QCOMPARE(changes.count(), 1);
  }

  // Moving the slider to 0 unwraps the sample on show, a turn later.
  void sliderAtZeroUnwrapsTheSample() {
    ViewController view(version12);
    SamplesViewController* samples = view.sampleController();
    QVERIFY(samples);
    samples->popupButton()->setCurrentIndex(2);
    samples->showSample();
    samples->textView()->setPlainText(QStringLiteral("// one\n// two"));
    view.maxCommentLengthSlider()->setValue(0);
    QCOMPARE(samples->wholeText(), QStringLiteral("// one\n// two"));
    QTRY_COMPARE(samples->wholeText(), QStringLiteral("// one two"));
  }

  void resetRemovesTheValue() {
    ViewController view(version12);
    view.maxCommentLengthSlider()->setValue(33);
    QSignalSpy changes(&SharedSettings::shared(), &SharedSettings::maxCommentLengthDidChange);
    view.resetButton()->click();
    QCOMPARE(changes.count(), 1);
    QCOMPARE(view.maxCommentLengthSlider()->value(), 80);
    QCOMPARE(view.maxCommentLengthField()->text(), QStringLiteral("80 characters"));
    QCOMPARE(SharedSettings::shared().maxCommentLength(), defaultMaxCommentLength);
  }

  // A value written elsewhere moves the slider without writing it back.
  void sliderFollowsOtherWriters() {
    ViewController view(version12);
    SharedSettings::shared().setMaxCommentLength(300);
    QCOMPARE(view.maxCommentLengthSlider()->value(), 200);
    QCOMPARE(SharedSettings::shared().maxCommentLength(), 300);
    SharedSettings::shared().setMaxCommentLength(noCommentLengthLimit);
    QCOMPARE(view.maxCommentLengthField()->text(), QStringLiteral("No limit"));
  }

  void versionAndFeedback_data() {
    QTest::addColumn<std::optional<QVariantMap>>("info");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("subject");
    QTest::newRow("both keys") << std::optional<QVariantMap>(version12) << "Version: 1.2 (34)"
                               << "Brindlewort feedback, version: 1.2 (34)";
    QTest::newRow("numbers") << std::optional<QVariantMap>(QVariantMap{{"CFBundleShortVersionString", 2},
                                                                        {"CFBundleVersion", 7}})
                             << "Version: 2 (7)" << "Brindlewort feedback, version: 2 (7)";
    QTest::newRow("no build") << std::optional<QVariantMap>(QVariantMap{{"CFBundleShortVersionString", "1.2"}})
                              << "Version: 1.2 (?\?\?)" << "Brindlewort feedback, version: 1.2 (?\?\?)";
    QTest::newRow("no short version") << std::optional<QVariantMap>(QVariantMap{{"CFBundleVersion", "34"}})
                                      << "Version not found" << "Brindlewort feedback, version not found";
    QTest::newRow("empty table") << std::optional<QVariantMap>(QVariantMap{}) << "Version not found"
                                 << "Brindlewort feedback, version not found";
    QTest::newRow("no table") << std::optional<QVariantMap>() << "Unknown" << "Brindlewort feedback, unknown";
    QTest::newRow("ampersand") << std::optional<QVariantMap>(QVariantMap{{"CFBundleShortVersionString", "1&2"},
                                                                          {"CFBundleVersion", "a+b"}})
                               << "Version: 1&2 (a+b)" << "Brindlewort feedback, version: 1&2 (a+b)";
  }
  void versionAndFeedback() {
    QFETCH(std::optional<QVariantMap>, info);
    QFETCH(QString, version);
    QFETCH(QString, subject);
    ViewController view(info);
    QCOMPARE(view.versionField()->text(), version);

    testing::UrlCatcher catcher(QStringLiteral("mailto"));
    view.feedbackButton()->click();
    QCOMPARE(catcher.urls.size(), 1);
    const QUrl mail = catcher.urls.first();
    QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
    QCOMPARE(mail.path(), QStringLiteral("feedback@kestrelloom.com"));
    const QUrlQuery query(mail);
    QCOMPARE(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
    QCOMPARE(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
             QStringLiteral("Hi, I've got some feedback about Brindlewort..."));
    QCOMPARE(query.queryItems().size(), 2);
  }

  void missingWorkbenchLeavesTheBoxEmpty() {
    ViewController view(version12, [](QWidget*) -> SamplesViewController* { return nullptr; });
    QVERIFY(!view.sampleController());
    QVERIFY(view.sampleBox()->findChildren<QWidget*>().isEmpty());
    view.maxCommentLengthSlider()->setValue(50);
    QCOMPARE(view.maxCommentLengthField()->text(), QStringLiteral("50 characters"));
  }

  void workbenchFillsTheBox() {
    ViewController view(version12);
    QVERIFY(view.sampleController());
    QCOMPARE(view.sampleController()->parentWidget(), view.sampleBox());
    view.resize(900, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QRect inner = view.sampleBox()->contentsRect();
    QCOMPARE(view.sampleController()->geometry(), inner);
  }
};

QTEST_MAIN(PreferencesViewTest)
#include "preferences_view_test.moc"
