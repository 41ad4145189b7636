#include "app/app_delegate.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>
#include <optional>
#include <utility>

#include "app/resource_locations.h"

namespace brindlewort {

AppDelegate::AppDelegate(QString executableDir, QObject* parent)
    : QObject(parent),
      executableDir_(executableDir.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : std::move(executableDir)) {}

void AppDelegate::applicationDidFinishLaunching() {
  QGuiApplication::setQuitOnLastWindowClosed(applicationShouldTerminateAfterLastWindowClosed());
}

QIcon AppDelegate::applicationIcon() const {
  const QIcon themed = QIcon::fromTheme(QStringLiteral("com.kestrelloom.Brindlewort"));
  if (!themed.isNull()) return themed;
  if (const std::optional<QString> file = findAppIconFile(executableDir_)) return QIcon(*file);
  return {};
}

void AppDelegate::openExtensionPreferences() {
  if (const std::optional<QString> folder = findIntegrationsFolder(executableDir_)) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(*folder));
    return;
  }
  if (const std::optional<QString> manual = findUserManual(executableDir_)) {
    QUrl url = QUrl::fromLocalFile(*manual);
    url.setFragment(QStringLiteral("nameddest=integrations"));
    QDesktopServices::openUrl(url);
  }
}

void AppDelegate::showHelp() {
  if (const std::optional<QString> manual = findUserManual(executableDir_)) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(*manual));
  }
}

}  // namespace brindlewort
