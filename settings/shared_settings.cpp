#include "settings/shared_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QThread>

#include "settings/ini_file.h"
#include "settings/max_comment_length_parsing.h"

namespace brindlewort {

Q_LOGGING_CATEGORY(sharedSettingsLog, "brindlewort.settings", QtInfoMsg)

namespace {

QString key() { return QString::fromLatin1(maxCommentLengthKey); }

}  // namespace

QString sharedSettingsFilePath() {
  const QDir folder(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
  return folder.filePath(QString::fromLatin1(settingsSuiteName) + QStringLiteral(".ini"));
}

SharedSettings& SharedSettings::shared() {
  // Never destroyed: it lives until the process ends, and outliving the
  // application object spares the file watcher a late teardown.
  static SharedSettings* const instance = new SharedSettings();
  return *instance;
}

SharedSettings::SharedSettings() : path_(sharedSettingsFilePath()) {
  lastSeenText_ = storedText();
  // File notifications arrive through the application's event loop, so the
  // store lives on its thread whichever thread used it first.
  if (QCoreApplication* app = QCoreApplication::instance()) {
    if (thread() != app->thread()) moveToThread(app->thread());
    QMetaObject::invokeMethod(this, &SharedSettings::startWatching, Qt::AutoConnection);
  }
}

void SharedSettings::startWatching() {
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &SharedSettings::postOutsideChange);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this,
          &SharedSettings::postOutsideChange);
  watchFiles();
}

void SharedSettings::watchFiles() {
  if (!watcher_) return;
  // Writers replace the file by renaming a new one over it, which ends the
  // watch on the old file; the folder's watch sees the rename and the file
  // is watched again here.
  const QString folder = QFileInfo(path_).absolutePath();
  if (!watcher_->directories().contains(folder) && QFileInfo(folder).isDir())
    watcher_->addPath(folder);
  if (!watcher_->files().contains(path_) && QFileInfo(path_).isFile()) watcher_->addPath(path_);
}

void SharedSettings::postOutsideChange() {
  watchFiles();
  const std::optional<QString> text = storedText();
  {
    QMutexLocker locker(&lastSeenMutex_);
    if (text == lastSeenText_) return;
    lastSeenText_ = text;
  }
  emit maxCommentLengthDidChange();
}

void SharedSettings::rememberStoredText(std::optional<QString> text) {
  {
    QMutexLocker locker(&lastSeenMutex_);
    lastSeenText_ = std::move(text);
  }
  // The first write may have created the folder or the file.
  QMetaObject::invokeMethod(this, &SharedSettings::watchFiles, Qt::AutoConnection);
}

std::optional<QString> SharedSettings::storedText() const {
  Result<std::optional<QString>> stored = readIniText(path_, key());
  if (!stored) {
    qCWarning(sharedSettingsLog, "%s; using the default maximum comment length",
              stored.error().c_str());
    return std::nullopt;
  }
  return std::move(*stored);
}

std::int64_t SharedSettings::maxCommentLength() const {
  const std::optional<QString> stored = storedText();
  if (stored) qCInfo(sharedSettingsLog, "Got MaxCommentLength: '%s'", qUtf8Printable(*stored));
  return maxCommentLengthFromStoredText(stored);
}

Result<void> SharedSettings::setMaxCommentLength(std::int64_t value) {
  const QByteArray stored = QByteArray::number(storedNumberForMaxCommentLength(value));
  Result<void> saved = changeIniValue(path_, key(), stored);
  if (!saved)
    qCWarning(sharedSettingsLog, "Could not save MaxCommentLength: %s", saved.error().c_str());
  else
    rememberStoredText(QString::fromLatin1(stored));
  emit maxCommentLengthDidChange();
  return saved;
}

Result<void> SharedSettings::resetMaxCommentLength() {
  Result<void> saved = changeIniValue(path_, key(), std::nullopt);
  if (!saved)
    qCWarning(sharedSettingsLog, "Could not reset MaxCommentLength: %s", saved.error().c_str());
  else
    rememberStoredText(std::nullopt);
  emit maxCommentLengthDidChange();
  return saved;
}

}  // namespace brindlewort
