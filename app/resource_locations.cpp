#include "app/resource_locations.h"

#include <QDir>
#include <QFileInfo>
#include <initializer_list>

namespace brindlewort {

namespace {

std::optional<QString> firstExisting(const QString& base, std::initializer_list<const char*> relativePaths,
                                     bool wantDirectory) {
  for (const char* relative : relativePaths) {
    const QFileInfo info(QDir(base).filePath(QString::fromUtf8(relative)));
    if (info.exists() && info.isDir() == wantDirectory) return QDir::cleanPath(info.absoluteFilePath());
  }
  return std::nullopt;
}

}  // namespace

std::optional<QString> findUserManual(const QString& executableDir) {
  return firstExisting(executableDir, {"User Manual.pdf", "../share/doc/brindlewort/User Manual.pdf"}, false);
}

std::optional<QString> findIntegrationsFolder(const QString& executableDir) {
  return firstExisting(executableDir, {"../share/brindlewort/integrations", "../../integrations"}, true);
}

std::optional<QString> findAppIconFile(const QString& executableDir) {
  return firstExisting(executableDir,
                       {"../share/icons/hicolor/scalable/apps/com.kestrelloom.Brindlewort.svg",
                        "../../packaging/com.kestrelloom.Brindlewort.svg"},
                       false);
}

}  // namespace brindlewort
