// Program entry: the application, its shell and the one main window.

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <optional>

#include "app/about_box.h"
#include "app/app_delegate.h"
#include "app/bundle_info.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "preferences/view_controller.h"

int main(int argc, char* argv[]) {
  {
    // --help and --version are answered before QApplication exists: it
    // would abort without a display.
    const QCoreApplication arguments(argc, argv);
    if (const std::optional<brindlewort::CommandLineAnswer> answer = brindlewort::answerInformationalOptions(
            QCoreApplication::arguments(), brindlewort::programVersionLine(brindlewort::mainBundleInfoDictionary()))) {
      const QByteArray text = answer->text.toLocal8Bit();
      std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
      return answer->exitCode;
    }
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brindlewort"));
  QApplication::setApplicationDisplayName(QStringLiteral("Brindlewort"));
  QApplication::setDesktopFileName(QStringLiteral("com.kestrelloom.Brindlewort"));

  brindlewort::AppDelegate delegate;
  QApplication::setWindowIcon(delegate.applicationIcon());
  brindlewort::MainWindow window(delegate, new brindlewort::ViewController(brindlewort::mainBundleInfoDictionary()));
  window.show();
  delegate.applicationDidFinishLaunching();
  QObject::connect(&application, &QCoreApplication::aboutToQuit, &delegate,
                   &brindlewort::AppDelegate::applicationWillTerminate);
  return QApplication::exec();
}
