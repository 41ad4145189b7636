#pragma once

// The application shell's own behaviour: quitting with the last window,
// opening the user manual and the folder of editor integrations. There is
// no update item: the package manager updates the program.

#include <QIcon>
#include <QObject>
#include <QString>

namespace brindlewort {

class AppDelegate : public QObject {
  Q_OBJECT
 public:
  // `executableDir` is where the shipped files are looked up from; the
  // running program's folder by default.
  explicit AppDelegate(QString executableDir = QString(), QObject* parent = nullptr);

  // Called once the main window is up.
  void applicationDidFinishLaunching();
  // The program's icon: the desktop theme's, else the installed file's (the
  // source tree's when run from a build folder); null when neither is there.
  QIcon applicationIcon() const;
  // Closing the last window ends the program.
  bool applicationShouldTerminateAfterLastWindowClosed() const { return true; }

 public slots:
  void applicationWillTerminate() {}
  // Opens the folder of editor integrations, or the manual's page about
  // them when the folder is not installed.
  void openExtensionPreferences();
  // Opens the user manual in the default PDF viewer, if it is there.
  void showHelp();

 signals:
  // Nothing was opened, and why, for the window to say.
  void cannotOpen(const QString& message);

 private:
  QString executableDir_;
};

}  // namespace brindlewort
