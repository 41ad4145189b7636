#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "app/app_delegate.h"
#include "preferences/view_controller.h"
#include "workbench/samples_view_controller.h"
#include "workbench/workbench_commands.h"

namespace brindlewort {

MainWindow::MainWindow(AppDelegate& delegate, ViewController* viewController, QWidget* parent)
    : QMainWindow(parent), viewController_(viewController) {
  setWindowTitle(QStringLiteral("Brindlewort"));
  viewController_->setParent(this);
  setCentralWidget(viewController_);
  buildMenus(delegate);
  resize(980, 720);
}

void MainWindow::buildMenus(AppDelegate& delegate) {
  QMenu* file = menuBar()->addMenu(tr("&File"));
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
}

}  // namespace brindlewort
