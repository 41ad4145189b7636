#pragma once

// The maximum comment length shared by every program of the group (the app,
// brindle, the helper), stored in one INI file in the user's config folder.

#include <QLoggingCategory>
#include <QMutex>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

#include "base/result.h"

class QFileSystemWatcher;

namespace brindlewort {

inline constexpr char settingsSuiteName[] = "Q7RZ2KD4WP.group.com.kestrelloom.Brindlewort";
inline constexpr char maxCommentLengthKey[] = "MaxCommentLength";
inline constexpr char maxCommentLengthDidChangeNotification[] = "MaxCommentLengthDidChange";

// "brindlewort.settings", info level: where "Got MaxCommentLength: '...'"
// is logged.
Q_DECLARE_LOGGING_CATEGORY(sharedSettingsLog)

// The settings file: the suite name plus ".ini" in the user's config
// folder ($XDG_CONFIG_HOME, else ~/.config).
QString sharedSettingsFilePath();

class SharedSettings : public QObject {
  Q_OBJECT
 public:
  // The one store of the process, made on first use.
  static SharedSettings& shared();

  // Reads the file afresh every time: 80 when unset or unreadable,
  // noCommentLengthLimit when 0 is stored.
  std::int64_t maxCommentLength() const;
  // Stores the value (noCommentLengthLimit as 0) and posts the change; says
  // why when the file could not be written (the change is posted anyway).
  Result<void> setMaxCommentLength(std::int64_t value);
  // Removes the stored value and posts the change; says why when the file
  // could not be written.
  Result<void> resetMaxCommentLength();

  // The file this store reads and writes.
  QString filePath() const { return path_; }

 signals:
  // "MaxCommentLengthDidChange": emitted synchronously on every write and
  // reset, and when another program changes the file.
  void maxCommentLengthDidChange();

 private:
  SharedSettings();
  void startWatching();
  void watchFiles();
  void postOutsideChange();
  void rememberStoredText(std::optional<QString> text);
  // The stored text; nothing when absent or unreadable (logged).
  std::optional<QString> storedText() const;

  const QString path_;
  QFileSystemWatcher* watcher_ = nullptr;
  // The stored text as this process last saw it, so that the watcher posts
  // only for changes made elsewhere and our own writes post once.
  mutable QMutex lastSeenMutex_;
  std::optional<QString> lastSeenText_;
};

}  // namespace brindlewort
