#include "app/about_box.h"

#include <QMessageBox>
#include <QWidget>

#include "preferences/version_text.h"

namespace brindlewort {

QString programVersionLine(const std::optional<QVariantMap>& infoDictionary) {
  const QString shortVersion =
      infoDictionary ? infoDictionary->value(QStringLiteral("CFBundleShortVersionString")).toString() : QString();
  if (shortVersion.isEmpty()) return QStringLiteral("Brindlewort: ") + versionString(infoDictionary);
  const QString build = infoDictionary->value(QStringLiteral("CFBundleVersion"), QStringLiteral("???")).toString();
  return QStringLiteral("Brindlewort %1 (build %2)").arg(shortVersion, build);
}

QString aboutText(const std::optional<QVariantMap>& infoDictionary) {
  return QObject::tr("<h3>%1</h3>"
                     "<p>Re-flows and proofreads the <code>//</code> line comments of source code.</p>"
                     "<p>Licence: proprietary, all rights reserved.<br>© Kestrel Loom</p>")
      .arg(programVersionLine(infoDictionary).toHtmlEscaped());
}

void showAboutBox(QWidget* parent, const std::optional<QVariantMap>& infoDictionary) {
  // QMessageBox::about shows the window icon, which is the program's own.
  QMessageBox::about(parent, QObject::tr("About Brindlewort"), aboutText(infoDictionary));
}

}  // namespace brindlewort
