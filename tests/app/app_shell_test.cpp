// The application shell: the menus, help and the integrations command
// finding shipped files, and quitting with the last window.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/app_delegate.h"
#include "app/bundle_info.h"
#include "app/main_window.h"
#include "preferences/view_controller.h"
#include "settings/shared_settings.h"
#include "url_catcher.h"
#include "workbench/samples_view_controller.h"

using namespace brindlewort;

namespace {

QMenu* menuNamed(QMainWindow& window, const QString& title) {
  for (QAction* action : window.menuBar()->actions()) {
    if (action->menu() && action->text().remove(u'&') == title) return action->menu();
  }
  return nullptr;
}

}  // namespace

class AppShellTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY(SharedSettings::shared().resetMaxCommentLength().ok()); }

  // The Comments menu holds the ten commands in five sections, each with a
  // shortcut of its own, and validates them when it opens.
  void commentsMenu() {
    AppDelegate delegate;
    MainWindow window(delegate, new ViewController(mainBundleInfoDictionary()));
    QMenu* comments = menuNamed(window, QStringLiteral("Comments"));
    QVERIFY(comments && menuNamed(window, QStringLiteral("Help")));
    QStringList items;
    QSet<QKeySequence> shortcuts;
    for (QAction* action : comments->actions()) {
      items << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
      if (!action->isSeparator()) shortcuts.insert(action->shortcut());
    }
    QCOMPARE(items.join(u' '), QStringLiteral("showOriginal: | wrap: wrapSelectedComments: unwrap: "
                                               "unwrapSelectedComments: | checkAllSpelling: checkSpellingInSelection: | "
                                               "checkAllGrammar: checkGrammarInSelection: | runSwiftLint:"));
    QCOMPARE(shortcuts.size(), 10);
    QVERIFY(!shortcuts.contains(QKeySequence()));
    comments->actions().first()->setEnabled(false);
    emit comments->aboutToShow();
    QVERIFY(comments->actions().first()->isEnabled());
  }

  // While the lint command waits, Edit > Undo must not change the text the
  // helper's reply is about to replace; afterwards undo and redo work.
  void undoWaitsForTheHelper() {
    AppDelegate delegate;
    MainWindow window(delegate, new ViewController(mainBundleInfoDictionary()));
    SamplesViewController* samples = window.viewController()->sampleController();
    std::function<void(std::optional<QString>)> pending;
    samples->setAutoCorrectionRequest([&pending](const QString&, QObject*, std::function<void(std::optional<QString>)> done,
                                                 std::chrono::milliseconds) { pending = std::move(done); });
    samples->popupButton()->setCurrentIndex(2);
    samples->showSample();
    samples->textView()->setPlainText(QStringLiteral("// a\n// b"));
    samples->unwrap();
    QCOMPARE(samples->wholeText(), QStringLiteral("// a b"));
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    for (QAction* action : menuNamed(window, QStringLiteral("Edit"))->actions()) {
      if (action->shortcut() == QKeySequence(QKeySequence::Undo)) undo = action;
      if (action->shortcut() == QKeySequence(QKeySequence::Redo)) redo = action;
    }
    QVERIFY(undo && undo->isEnabled());
    samples->runSwiftLint();
    undo->trigger();
    QCOMPARE(samples->wholeText(), QStringLiteral("// a b"));
    pending(std::nullopt);
    undo->trigger();
    QCOMPARE(samples->wholeText(), QStringLiteral("// a\n// b"));
    QVERIFY(redo && redo->isEnabled());
    redo->trigger();
    QCOMPARE(samples->wholeText(), QStringLiteral("// a b"));
  }

  // Run inside the event loop, where quitting happens: closing the only
  // window ends exec() without the safety timer's exit code.
  void closingTheLastWindowQuits() {
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    auto* window = new MainWindow(delegate, new ViewController(mainBundleInfoDictionary()));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTimer::singleShot(0, window, &QWidget::close);
    QObject safety;
    QTimer::singleShot(10000, &safety, [] { QCoreApplication::exit(7); });
    QCOMPARE(QCoreApplication::exec(), 0);
  }

  // Help opens the manual; the integrations command opens their folder, or
  // the manual's page on them; with nothing shipped nothing opens.
  void helpAndIntegrationsOpenTheRightPlace() {
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(root.filePath("prefix/bin")));
    testing::UrlCatcher catcher(QStringLiteral("file"));
    AppDelegate delegate(root.filePath("prefix/bin"));
    delegate.showHelp();
    delegate.openExtensionPreferences();
    QCOMPARE(catcher.urls.size(), 0);
    const QString manual = root.filePath("prefix/share/doc/brindlewort/User Manual.pdf");
    QVERIFY(QDir().mkpath(QFileInfo(manual).path()) && QFile(manual).open(QIODevice::WriteOnly));
    delegate.showHelp();
    delegate.openExtensionPreferences();
    QCOMPARE(catcher.urls.size(), 2);
    QCOMPARE(catcher.urls[0], QUrl::fromLocalFile(manual));
    QCOMPARE(catcher.urls[1].toLocalFile(), manual);
    QCOMPARE(catcher.urls[1].fragment(), QStringLiteral("nameddest=integrations"));
    const QString folder = root.filePath("prefix/share/brindlewort/integrations");
    QVERIFY(QDir().mkpath(folder));
    delegate.openExtensionPreferences();
    QCOMPARE(catcher.urls.last(), QUrl::fromLocalFile(folder));
  }
};

QTEST_MAIN(AppShellTest)
#include "app_shell_test.moc"
