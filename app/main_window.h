#pragma once

// The main window: the preferences view with the workbench inside, and the
// menu bar (File, Edit, Comments, Help).

#include <QMainWindow>

namespace brindlewort {

class AppDelegate;
class ViewController;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(AppDelegate& delegate, ViewController* viewController, QWidget* parent = nullptr);

  ViewController* viewController() const { return viewController_; }

 private:
  void buildMenus(AppDelegate& delegate);

  ViewController* viewController_;
};

}  // namespace brindlewort
