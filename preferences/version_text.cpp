#include "preferences/version_text.h"

namespace brindlewort {

QString versionString(const std::optional<QVariantMap>& infoDictionary) {
  if (!infoDictionary) return QStringLiteral("Unknown");
  const auto shortVersion = infoDictionary->constFind(QStringLiteral("CFBundleShortVersionString"));
  if (shortVersion == infoDictionary->constEnd()) return QStringLiteral("Version not found");
  const auto build = infoDictionary->constFind(QStringLiteral("CFBundleVersion"));
  const QString buildText = build == infoDictionary->constEnd() ? QStringLiteral("???") : build->toString();
  return QStringLiteral("Version: %1 (%2)").arg(shortVersion->toString(), buildText);
}

}  // namespace brindlewort
