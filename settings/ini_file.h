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

namespace brindlewort {

// What a read found: the key's value as text, nothing when the key is
// absent or holds something other than one text (a list, a typed value),
// and whether the file could not be read at all.
struct IniReadResult {
  std::optional<QString> text;
  bool unreadable = false;
};

// Reads `key` of the general section of the file at `path`; a missing
// file reads as an absent key.
IniReadResult readIniText(const QString& path, const QString& key);

// The key's value as text, from the file's contents.
std::optional<QString> iniTextInContents(const QByteArray& contents, const QString& key);

// The contents with `key` of the general section set to `value` (written
// as it stands), or removed when `value` is nothing.
QByteArray withIniValue(const QByteArray& contents, const QString& key,
                        const std::optional<QByteArray>& value);

// Sets or removes `key` in the file at `path`, creating the file and its
// folder when needed. On failure returns a description and leaves the file
// as it was.
std::optional<QString> changeIniValue(const QString& path, const QString& key,
                                      const std::optional<QByteArray>& value);

}  // namespace brindlewort
