// The application shell: the menus, help and the integrations command
// finding shipped files, quitting with the last window, the command line,
// the remembered window and its keyboard use.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QLabel>
#include <QMenuBar>
#include <QMetaEnum>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/about_box.h"
#include "app/app_delegate.h"
#include "app/command_line.h"
#include "app/bundle_info.h"
#include "app/main_window.h"
#include "app/window_state.h"
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

QList<QWidget*> tabChainFrom(QWidget* first) {
  QList<QWidget*> chain;
  QWidget* widget = first;
  do {
    if (widget->focusPolicy() & Qt::TabFocus) chain.append(widget);
    widget = widget->nextInFocusChain();
  } while (widget != first);
  return chain;
}

// Keys the desktop takes before the program sees them, and Qt's standard
// keys of the desktops that the platform under test does not report.
const QStringList reservedKeys{
    "Ctrl+Shift+U", "Ctrl+Alt+T", "Ctrl+Alt+L", "Ctrl+Alt+Del", "Ctrl+Shift+S", "Ctrl+Shift+G",
    "Ctrl+Shift+A", "Ctrl+Shift+F", "Ctrl+Shift+N", "Ctrl+Shift+Z", "Ctrl+Shift+Insert", "Ctrl+Shift+Tab"};

}  // namespace

class AppShellTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY(SharedSettings::shared().resetMaxCommentLength().ok()); }

  // The Comments menu holds the eleven commands in six sections, each with a
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
                                               "checkAllGrammar: checkGrammarInSelection: | removeMarkers: | runSwiftLint:"));
    QCOMPARE(shortcuts.size(), 11);
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

  // No command's shortcut takes a key that Qt gives a standard meaning or
  // that the desktop keeps for itself. The buttons carry the menu's titles
  // in its order, with tooltips naming the shortcut; every menu item has a
  // mnemonic.
  void commandsInMenuAndButtons() {
    AppDelegate delegate;
    MainWindow window(delegate, new ViewController(mainBundleInfoDictionary()));
    SamplesViewController* samples = window.viewController()->sampleController();
    QSet<QKeySequence> taken;
    const QMetaEnum standardKeys = QMetaEnum::fromType<QKeySequence::StandardKey>();
    for (int i = 0; i < standardKeys.keyCount(); ++i) {
      for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::StandardKey(standardKeys.value(i)))) {
        taken.insert(key);
      }
    }
    for (const QString& key : reservedKeys) taken.insert(QKeySequence(key));
    for (QAction* action : samples->commandActions()) {
      QVERIFY2(!taken.contains(action->shortcut()), qPrintable(action->shortcut().toString()));
    }

    QStringList menuOrder;
    for (QAction* action : samples->commandActions()) menuOrder << action->text().remove(u'&');
    qsizetype previous = -1;
    for (QPushButton* button : samples->commandButtons()) {
      const qsizetype index = menuOrder.indexOf(button->text());
      QVERIFY2(index > previous, qPrintable(button->text()));
      previous = index;
      QVERIFY(button->toolTip().contains(samples->commandActions()[index]->shortcut().toString(QKeySequence::NativeText)));
    }
    for (QAction* menu : window.menuBar()->actions()) {
      for (QAction* item : menu->menu()->actions()) {
        QVERIFY2(item->isSeparator() || item->text().contains(u'&'), qPrintable(item->text()));
      }
    }
  }

  // Focus starts on the sample picker, Tab follows the layout, Ctrl+Tab
  // leaves the text, and labels lead to their controls.
  void keyboardUse() {
    AppDelegate delegate;
    MainWindow window(delegate, new ViewController(mainBundleInfoDictionary()));
    ViewController* view = window.viewController();
    SamplesViewController* samples = view->sampleController();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window, 60000));
    QCOMPARE(QApplication::focusWidget(), samples->popupButton());

    QList<QWidget*> expected{view->maxCommentLengthSlider(), view->resetButton(), samples->popupButton(),
                             samples->languagePicker()};
    for (QPushButton* button : samples->commandButtons()) expected << button;
    expected << samples->textView() << view->feedbackButton();
    QCOMPARE(tabChainFrom(view->maxCommentLengthSlider()), expected);

    samples->popupButton()->setCurrentIndex(2);
    samples->showSample();
    samples->textView()->setFocus();
    const QString text = samples->wholeText();
    QTest::keyClick(samples->textView(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), view->feedbackButton());
    QCOMPARE(samples->wholeText(), text);

    QMap<QWidget*, QString> buddies;
    for (QLabel* label : window.findChildren<QLabel*>()) {
      if (label->buddy()) buddies.insert(label->buddy(), label->text());
    }
    QCOMPARE(buddies.value(view->maxCommentLengthSlider()), QStringLiteral("&Maximum comment length:"));
    QCOMPARE(buddies.value(samples->popupButton()), QStringLiteral("&Sample:"));
    QCOMPARE(buddies.value(samples->languagePicker()), QStringLiteral("&Language:"));
    for (QWidget* widget : expected) {
      QVERIFY2(!widget->accessibleName().isEmpty() || qobject_cast<QPushButton*>(widget),
               qPrintable(widget->objectName()));
    }
  }

  // --help and --version answer on their own; anything else, Qt's own
  // options included, opens the window.
  void informationalOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("answerStart");  // empty: the window opens
    QTest::newRow("none") << QStringList{"brindlewort"} << QString();
    QTest::newRow("version") << QStringList{"brindlewort", "--version"} << "Brindlewort 1.0.0 (build 1)\n";
    QTest::newRow("help with Qt's options") << QStringList{"brindlewort", "--help-all"} << "Usage:";
    QTest::newRow("Qt's option") << QStringList{"brindlewort", "-style", "fusion"} << QString();
  }
  void informationalOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, answerStart);
    const std::optional<CommandLineAnswer> answer = answerInformationalOptions(
        arguments, programVersionLine(QVariantMap{{"CFBundleShortVersionString", "1.0.0"}, {"CFBundleVersion", "1"}}));
    QCOMPARE(answer.has_value(), !answerStart.isEmpty());
    if (answer) {
      QVERIFY2(answer->text.startsWith(answerStart), qPrintable(answer->text));
      QCOMPARE(answer->exitCode, 0);
    }
  }

  // Help › About names the version and build and the licence.
  void aboutBrindlewort() {
    AppDelegate delegate;
    MainWindow window(delegate, new ViewController(mainBundleInfoDictionary()));
    QMenu* help = menuNamed(window, QStringLiteral("Help"));
    QCOMPARE(help->actions().last()->text(), QStringLiteral("&About Brindlewort"));
    const QString text = aboutText(QVariantMap{{"CFBundleShortVersionString", "1.2"}, {"CFBundleVersion", "34"}});
    QVERIFY(text.contains("Brindlewort 1.2 (build 34)") && text.contains("Licence"));
    QCOMPARE(programVersionLine(QVariantMap{{"CFBundleShortVersionString", "1.2"}}),
             QStringLiteral("Brindlewort 1.2 (build ?\?\?)"));
  }

  // The icon comes from the installed file when the theme has none.
  void windowIconFromTheInstalledFile() {
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(root.filePath("prefix/bin")));
    const QString icon = root.filePath("prefix/share/icons/hicolor/scalable/apps/com.kestrelloom.Brindlewort.svg");
    QVERIFY(QDir().mkpath(QFileInfo(icon).path()));
    QFile file(icon);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'><rect width='16' height='16'/></svg>");
    file.close();
    AppDelegate delegate(root.filePath("prefix/bin"));
    MainWindow window(delegate, new ViewController(mainBundleInfoDictionary()));
    QVERIFY(!window.windowIcon().pixmap(32).isNull());
  }

  // The first window fits its screen; a closed window opens again at the
  // size it had, from a file of the app's own.
  void windowIsRemembered() {
    QTemporaryDir root;
    const QString state = root.filePath("brindlewort/window.ini");
    AppDelegate delegate;
    {
      MainWindow first(delegate, new ViewController(mainBundleInfoDictionary()), nullptr, state);
      const QRect available = first.screen()->availableGeometry();
      QVERIFY(first.width() <= available.width() && first.height() <= available.height());
      first.show();
      QVERIFY(QTest::qWaitForWindowExposed(&first, 60000));
      first.resize(700, 450);
      first.close();
    }
    QVERIFY(QFileInfo::exists(state));
    MainWindow again(delegate, new ViewController(mainBundleInfoDictionary()), nullptr, state);
    QCOMPARE(again.size(), QSize(700, 450));
  }

  // A relative XDG_STATE_HOME is invalid and falls back to the default.
  void stateFileFollowsXdg() {
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    const QString fallback = QDir::homePath() + "/.local/state/brindlewort/window.ini";
    for (const auto& [value, expected] : {std::pair<QByteArray, QString>{"/x/state", "/x/state/brindlewort/window.ini"},
                                          {"", fallback}, {"state", fallback}}) {
      qputenv("XDG_STATE_HOME", value);
      QCOMPARE(windowStateFilePath(), expected);
    }
    qputenv("XDG_STATE_HOME", saved);
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
    QVERIFY(QTest::qWaitForWindowExposed(window, 60000));
    QTimer::singleShot(0, window, &QWidget::close);
    QObject safety;
    QTimer::singleShot(10000, &safety, [] { QCoreApplication::exit(7); });
    QCOMPARE(QCoreApplication::exec(), 0);
  }

  // At twice the scale on a 1280×900 screen the window has 640×450
  // pixels of its own to lay out in: it fits, with every control inside.
  void fitsADoubledSmallScreen() {
    AppDelegate delegate;
    MainWindow window(delegate, new ViewController(mainBundleInfoDictionary()));
    const QSize screen = QSize(1280, 900) / 2;
    const QSize smallest = window.minimumSizeHint().expandedTo(window.minimumSize());
    QVERIFY2(smallest.width() <= screen.width() && smallest.height() <= screen.height(),
             qPrintable(QStringLiteral("%1×%2").arg(smallest.width()).arg(smallest.height())));
    window.resize(screen);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 60000));
    SamplesViewController* samples = window.viewController()->sampleController();
    QList<QWidget*> controls{window.viewController()->maxCommentLengthSlider(), window.viewController()->resetButton(),
                             window.viewController()->feedbackButton(), samples->textView()};
    for (QWidget* control : samples->tabOrder()) controls << control;
    for (QWidget* control : controls) {
      QTRY_VERIFY2_WITH_TIMEOUT(window.rect().contains(QRect(control->mapTo(&window, QPoint()), control->size())),
                                qPrintable(control->objectName()), 10000);
    }
  }

  // The title names the text and marks unsaved edits; closing with them
  // asks, and a refusal keeps the window open.
  void titleAndQuitting() {
    AppDelegate delegate;
    auto* window = new MainWindow(delegate, new ViewController(mainBundleInfoDictionary()));
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<MainWindow> alive(window);
    SamplesViewController* samples = window->viewController()->sampleController();
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("Welcome")));
    samples->popupButton()->setCurrentIndex(2);
    samples->showSample();
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("The Basics")));
    QVERIFY(!window->isWindowModified());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window, 60000));
    samples->textView()->insertPlainText(QStringLiteral("typed "));
    QVERIFY(window->isWindowModified());
    QStringList asked;
    bool answer = false;
    samples->setDiscardQuestion([&](const QString& question) {
      asked << question;
      return answer;
    });
    QVERIFY(!window->close());
    QCOMPARE(asked.size(), 1);
    QVERIFY(window->isVisible());
    answer = true;
    QVERIFY(window->close());
    QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 10000);
  }

  // What cannot be opened is said on the window's status bar.
  void failuresAreSaid() {
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(root.filePath("prefix/bin")));
    AppDelegate delegate(root.filePath("prefix/bin"));
    MainWindow window(delegate, new ViewController(mainBundleInfoDictionary()));
    delegate.showHelp();
    QVERIFY2(window.statusBar()->currentMessage().contains(QStringLiteral("manual")),
             qPrintable(window.statusBar()->currentMessage()));
    window.statusBar()->clearMessage();
    delegate.openExtensionPreferences();
    QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("integrations")));
    window.statusBar()->clearMessage();
    window.viewController()->setUrlOpener([](const QUrl&) { return false; });
    window.viewController()->feedbackButton()->click();
    QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("mail")));
  }

  // Help opens the manual; the integrations command opens their folder, or
  // the manual's page on them; with nothing shipped nothing opens.
  void helpAndIntegrationsOpenTheRightPlace() {
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(root.filePath("prefix/bin")));
    testing::UrlCatcher catcher(QStringLiteral("file"));
    AppDelegate delegate(root.filePath("prefix/bin"));
    QSignalSpy said(&delegate, &AppDelegate::cannotOpen);
    delegate.showHelp();
    delegate.openExtensionPreferences();
    QCOMPARE(catcher.urls.size(), 0);
    QCOMPARE(said.count(), 2);
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
