#pragma once

// The main window: the preferences view with the workbench inside, and the
// menu bar (File, Edit, Comments, Help). It opens where it was last closed,
// or at a size that fits its screen, with the keyboard focus on the sample
// picker.

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

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus(AppDelegate& delegate);
  void placeOnScreen();

  ViewController* viewController_;
  QString stateFile_;
};

}  // namespace brindlewort
