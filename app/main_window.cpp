#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <utility>

#include "app/about_box.h"
#include "app/app_delegate.h"
#include "app/window_state.h"
#include "preferences/view_controller.h"
#include "workbench/samples_view_controller.h"
#include "workbench/workbench_commands.h"

namespace brindlewort {

MainWindow::MainWindow(AppDelegate& delegate, ViewController* viewController, QWidget* parent,
                       QString stateFile)
    : QMainWindow(parent),
      viewController_(viewController),
      stateFile_(stateFile.isEmpty() ? windowStateFilePath() : std::move(stateFile)) {
  setWindowTitle(QStringLiteral("Brindlewort"));
  setWindowIcon(delegate.applicationIcon());
  viewController_->setParent(this);
  setCentralWidget(viewController_);
  buildMenus(delegate);
  connect(&delegate, &AppDelegate::cannotOpen, this, &MainWindow::showProblem);
  connect(viewController_, &ViewController::problem, this, &MainWindow::showProblem);
  if (SamplesViewController* samples = viewController_->sampleController()) {
    connect(samples, &SamplesViewController::documentChanged, this, &MainWindow::updateTitle);
    updateTitle();
  }
  placeOnScreen();
  // Not the slider: arrow keys pressed at launch would change the length
  // that brindle, the editors and the hooks share.
  if (SamplesViewController* samples = viewController_->sampleController()) {
    samples->popupButton()->setFocus();
  }
}

void MainWindow::placeOnScreen() {
  if (restoreWindowGeometry(*this, stateFile_)) return;
  const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
  resize(firstWindowSize(QSize(980, 720), target ? target->availableGeometry() : QRect()));
}

void MainWindow::updateTitle() {
  SamplesViewController* samples = viewController_->sampleController();
  if (!samples) return;
  setWindowTitle(QStringLiteral("%1[*] — Brindlewort").arg(samples->documentName()));
  setWindowModified(samples->textView()->document()->isModified());
}

void MainWindow::showProblem(const QString& message) { statusBar()->showMessage(message); }

void MainWindow::openFile() {
  SamplesViewController* samples = viewController_->sampleController();
  if (!samples) return;
  const QString folder = samples->filePath().isEmpty() ? QString() : QFileInfo(samples->filePath()).path();
  const QString path = QFileDialog::getOpenFileName(this, tr("Open"), folder);
  // Why a file was refused is said on the workbench's status line.
  if (!path.isEmpty()) samples->openFile(path);
}

void MainWindow::saveFileAs() {
  SamplesViewController* samples = viewController_->sampleController();
  if (!samples) return;
  const QString path = QFileDialog::getSaveFileName(this, tr("Save As"), samples->filePath());
  if (!path.isEmpty()) samples->saveAs(path);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  SamplesViewController* samples = viewController_->sampleController();
  if (samples && !samples->mayDiscardEdits(tr("Quit and discard the unsaved edits of “%1”?").arg(samples->documentName()))) {
    event->ignore();
    return;
  }
  saveWindowGeometry(*this, stateFile_);
  QMainWindow::closeEvent(event);
}

void MainWindow::buildMenus(AppDelegate& delegate) {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  if (viewController_->sampleController()) {
    QAction* open = file->addAction(tr("&Open…"), this, &MainWindow::openFile);
    open->setObjectName(QStringLiteral("openAction"));
    open->setShortcut(QKeySequence::Open);
    QAction* saveAs = file->addAction(tr("Save &As…"), this, &MainWindow::saveFileAs);
    saveAs->setObjectName(QStringLiteral("saveAsAction"));
    saveAs->setShortcut(QKeySequence::SaveAs);
    file->addSeparator();
  }
  file->addAction(tr("Open Editor &Integrations…"), &delegate, &AppDelegate::openExtensionPreferences);
  file->addSeparator();
  QAction* quit = file->addAction(tr("&Quit"), qApp, &QApplication::closeAllWindows);
  quit->setShortcut(QKeySequence::Quit);

  SamplesViewController* samples = viewController_->sampleController();
  if (samples) {
    QPlainTextEdit* text = samples->textView();
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    // A read-only text (the Welcome sample, or any text while the lint
    // command waits for its reply) is not changed by undo or redo either.
    QAction* undo = edit->addAction(tr("&Undo"), text, [text] {
      if (!text->isReadOnly()) text->undo();
    });
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(false);
    connect(text, &QPlainTextEdit::undoAvailable, undo, &QAction::setEnabled);
    QAction* redo = edit->addAction(tr("&Redo"), text, [text] {
      if (!text->isReadOnly()) text->redo();
    });
    redo->setShortcut(QKeySequence::Redo);
    redo->setEnabled(false);
    connect(text, &QPlainTextEdit::redoAvailable, redo, &QAction::setEnabled);
    edit->addSeparator();
    edit->addAction(tr("Cu&t"), text, &QPlainTextEdit::cut)->setShortcut(QKeySequence::Cut);
    edit->addAction(tr("&Copy"), text, &QPlainTextEdit::copy)->setShortcut(QKeySequence::Copy);
    edit->addAction(tr("&Paste"), text, &QPlainTextEdit::paste)->setShortcut(QKeySequence::Paste);
    edit->addAction(tr("Select &All"), text, &QPlainTextEdit::selectAll)->setShortcut(QKeySequence::SelectAll);

    // One section per group of commands: loading, wrapping, spelling,
    // grammar, lint.
    QMenu* comments = menuBar()->addMenu(tr("&Comments"));
    comments->setObjectName(QStringLiteral("commentsMenu"));
    const WorkbenchCommand* previous = nullptr;
    for (const WorkbenchCommand& command : workbenchCommands()) {
      if (previous && previous->group != command.group) comments->addSeparator();
      previous = &command;
      comments->addAction(samples->commandAction(QLatin1String(command.selector)));
    }
    connect(comments, &QMenu::aboutToShow, samples, [samples, comments] { samples->validateMenu(comments); });
  }

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  QAction* manual = help->addAction(tr("Brindlewort &User Manual"), &delegate, &AppDelegate::showHelp);
  manual->setShortcut(QKeySequence::HelpContents);
  help->addAction(tr("Send &Feedback…"), viewController_, &ViewController::sendFeedback);
  help->addSeparator();
  QAction* about = help->addAction(tr("&About Brindlewort"), this,
                                   [this] { showAboutBox(this, viewController_->infoDictionary()); });
  about->setObjectName(QStringLiteral("aboutAction"));
  about->setMenuRole(QAction::AboutRole);
}

}  // namespace brindlewort
