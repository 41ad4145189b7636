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
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(*folder))) {
      emit cannotOpen(tr("No program could show the folder of editor integrations, %1.").arg(*folder));
    }
    return;
  }
  if (const std::optional<QString> manual = findUserManual(executableDir_)) {
    QUrl url = QUrl::fromLocalFile(*manual);
    url.setFragment(QStringLiteral("nameddest=integrations"));
    if (!QDesktopServices::openUrl(url)) {
      emit cannotOpen(tr("No program could open the user manual, %1, at its page on editor integrations.").arg(*manual));
    }
    return;
  }
  emit cannotOpen(tr("The editor integrations are not installed, nor is the user manual that describes them."));
}

void AppDelegate::showHelp() {
  const std::optional<QString> manual = findUserManual(executableDir_);
  if (!manual) {
    emit cannotOpen(tr("The user manual is not installed."));
  } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(*manual))) {
    emit cannotOpen(tr("No program could open the user manual, %1.").arg(*manual));
  }
}

}  // namespace brindlewort
