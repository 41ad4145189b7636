#pragma once

// Reading and changing one key of the general section of a settings file in
// the INI layout QSettings uses, without disturbing anything else in it:
// other keys, sections, comments and even unreadable lines stay byte for
// byte. Every read goes to the disk, and every change is written to a
// temporary file and renamed over the old one under the same lock file that
// QSettings takes, so concurrent writers always leave a whole file.

#include <QByteArray>
#include <QString>
#include <optional>

#include "base/result.h"

namespace brindlewort {

// Reads `key` of the general section of the file at `path`: its value as
// text, nothing when the key is absent or holds something other than one
// text (a list, a typed value), or an error when the file cannot be read. A
// missing file reads as an absent key.
Result<std::optional<QString>> readIniText(const QString& path, const QString& key);

// The key's value as text, from the file's contents.
std::optional<QString> iniTextInContents(const QByteArray& contents, const QString& key);

// The contents with `key` of the general section set to `value` (written
// as it stands), or removed when `value` is nothing.
QByteArray withIniValue(const QByteArray& contents, const QString& key,
                        const std::optional<QByteArray>& value);

// Sets or removes `key` in the file at `path`, creating the file and its
// folder when needed. A failure leaves the file as it was.
Result<void> changeIniValue(const QString& path, const QString& key,
                            const std::optional<QByteArray>& value);

}  // namespace brindlewort
