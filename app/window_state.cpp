#include "app/window_state.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>
#include <QtGlobal>

namespace brindlewort {

namespace {

constexpr char geometryKey[] = "geometry";

}  // namespace

QString windowStateFilePath() {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  // Relative values are invalid by the XDG rules and are ignored.
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.local/state");
  return base + QStringLiteral("/brindlewort/window.ini");
}

bool restoreWindowGeometry(QWidget& window, const QString& path) {
  if (!QFileInfo::exists(path)) return false;
  const QSettings state(path, QSettings::IniFormat);
  // restoreGeometry moves a window saved on a screen that is gone back onto
  // one that is there.
  return window.restoreGeometry(state.value(QLatin1String(geometryKey)).toByteArray());
}

void saveWindowGeometry(const QWidget& window, const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSettings state(path, QSettings::IniFormat);
  state.setValue(QLatin1String(geometryKey), window.saveGeometry());
  state.sync();
}

QSize firstWindowSize(QSize preferred, const QRect& availableGeometry) {
  if (availableGeometry.isEmpty()) return preferred;
  // A tenth of the screen stays free for the frame and the panels.
  const QSize room = availableGeometry.size() * 9 / 10;
  return preferred.boundedTo(room);
}

}  // namespace brindlewort
