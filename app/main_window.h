#pragma once

// The main window: the preferences view with the workbench inside, and the
// menu bar (File, Edit, Comments, Help). It opens where it was last closed,
// or at a size that fits its screen, with the keyboard focus on the sample
// picker. Its title names the text shown and marks it when it has unsaved
// edits; closing with such edits asks first. What could not be opened is
// said on its status bar.

#include <QMainWindow>
#include <QString>

namespace brindlewort {

class AppDelegate;
class ViewController;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `stateFile` keeps the window's size and position between runs.
  MainWindow(AppDelegate& delegate, ViewController* viewController, QWidget* parent = nullptr,
             QString stateFile = QString());

  ViewController* viewController() const { return viewController_; }

  // Asks for a file and shows it in the workbench.
  void openFile();
  // Asks for a file name and saves the workbench's text there.
  void saveFileAs();
  // Says on the status bar why something did not happen.
  void showProblem(const QString& message);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus(AppDelegate& delegate);
  void placeOnScreen();
  void updateTitle();

  ViewController* viewController_;
  QString stateFile_;
};

}  // namespace brindlewort
