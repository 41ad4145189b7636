// Renders the main window, built exactly as the program builds it, to a PNG
// after loading "The Basics" and wrapping it. Used by scripts/screenshot.sh.
// Usage: brindlewort_screenshot OUTPUT.png [--dark] [--welcome]

#include <QApplication>
#include <QComboBox>
#include <QPalette>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/app_delegate.h"
#include "app/bundle_info.h"
#include "app/main_window.h"
#include "preferences/view_controller.h"
#include "workbench/samples_view_controller.h"

namespace {

QPalette darkPalette() {
  QPalette p;
  p.setColor(QPalette::Window, QColor(45, 45, 48));
  p.setColor(QPalette::WindowText, QColor(230, 230, 230));
  p.setColor(QPalette::Base, QColor(30, 30, 32));
  p.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
  p.setColor(QPalette::Text, QColor(230, 230, 230));
  p.setColor(QPalette::Button, QColor(55, 55, 58));
  p.setColor(QPalette::ButtonText, QColor(230, 230, 230));
  p.setColor(QPalette::Highlight, QColor(38, 110, 200));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
  return p;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png [--dark] [--welcome]\n", argv[0]);
    return 2;
  }
  bool dark = false;
  bool welcome = false;
  for (int i = 2; i < argc; ++i) {
    dark = dark || std::strcmp(argv[i], "--dark") == 0;
    welcome = welcome || std::strcmp(argv[i], "--welcome") == 0;
  }
  QApplication application(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  if (dark) QApplication::setPalette(darkPalette());

  brindlewort::AppDelegate delegate;
  brindlewort::MainWindow window(delegate, new brindlewort::ViewController(brindlewort::mainBundleInfoDictionary()));
  window.resize(1000, 760);
  window.show();
  brindlewort::SamplesViewController* samples = window.viewController()->sampleController();
  // The wrapped sample is an edit; quitting after the picture drops it.
  samples->setDiscardQuestion([](const QString&) { return true; });
  if (!welcome) {
    samples->popupButton()->setCurrentIndex(2);
    samples->showSample();
    samples->wrap();
  }

  int status = 1;
  QTimer::singleShot(200, &window, [&] {
    status = window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    QApplication::quit();
  });
  QApplication::exec();
  if (status != 0) std::fprintf(stderr, "could not write %s\n", argv[1]);
  return status;
}
