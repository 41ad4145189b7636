#pragma once

// The files the workbench opens and saves: UTF-8 text, refused on the same
// grounds and in the same words as brindle refuses a file, and written back
// with the line ends and byte order mark it came with.

#include <QString>

#include "base/result.h"

namespace brindlewort {

// A file larger than this is not opened: the text view would take minutes
// to lay it out.
inline constexpr qint64 maximumTextFileSize = 64 * 1024 * 1024;

struct TextFile {
  QString text;           // with line feeds only
  bool crlf = false;      // the file's lines end in CR-LF
  bool byteOrderMark = false;
};

// Reads the file at `path`; the error names the file and says why it was
// not opened.
Result<TextFile> readTextFile(const QString& path);

// The bytes of `file`: its text in UTF-8, with its line ends and mark.
std::string textFileBytes(const TextFile& file);

// Writes `file` to `path` atomically (a temporary file renamed over it);
// the error names the file and says why it was not saved.
Result<void> writeTextFile(const QString& path, const TextFile& file);

}  // namespace brindlewort
