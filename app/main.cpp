// Program entry: the application, its shell and the one main window.

#include <QApplication>

#include "app/app_delegate.h"
#include "app/bundle_info.h"
#include "app/main_window.h"
#include "preferences/view_controller.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brindlewort"));
  QApplication::setApplicationDisplayName(QStringLiteral("Brindlewort"));
  QApplication::setDesktopFileName(QStringLiteral("com.kestrelloom.Brindlewort"));

  brindlewort::AppDelegate delegate;
  brindlewort::MainWindow window(delegate, new brindlewort::ViewController(brindlewort::mainBundleInfoDictionary()));
  window.show();
  delegate.applicationDidFinishLaunching();
  QObject::connect(&application, &QCoreApplication::aboutToQuit, &delegate,
                   &brindlewort::AppDelegate::applicationWillTerminate);
  return QApplication::exec();
}
