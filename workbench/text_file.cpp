#include "workbench/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <string_view>

#include "base/atomic_write.h"
#include "reflow/text_validation.h"

namespace brindlewort {

namespace {

constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";

Error failure(const QString& path, const std::string& why, const char* outcome) {
  return Error{QFileInfo(path).fileName().toStdString() + ": " + why + "; " + outcome};
}

}  // namespace

Result<TextFile> readTextFile(const QString& path) {
  constexpr const char* notOpened = "not opened";
  const QFileInfo info(path);
  if (info.isDir()) return failure(path, "is a folder", notOpened);
  // Asked before reading, so a huge file is never loaded to be refused.
  if (info.size() > maximumTextFileSize) {
    return failure(path, "is larger than " + std::to_string(maximumTextFileSize >> 20) + " MiB", notOpened);
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return failure(path, "cannot read: " + file.errorString().toStdString(), notOpened);
  const QByteArray bytes = file.read(maximumTextFileSize + 1);
  if (file.error() != QFileDevice::NoError) {
    return failure(path, "cannot read: " + file.errorString().toStdString(), notOpened);
  }
  if (bytes.size() > maximumTextFileSize) {
    return failure(path, "is larger than " + std::to_string(maximumTextFileSize >> 20) + " MiB", notOpened);
  }

  std::string_view whole(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  TextFile text;
  text.byteOrderMark = whole.starts_with(utf8ByteOrderMark);
  if (text.byteOrderMark) whole.remove_prefix(utf8ByteOrderMark.size());
  // brindle's own checks, so that both refuse the same files.
  if (Result<void> decodable = checkDecodable(whole); !decodable) return failure(path, decodable.error(), notOpened);
  if (Result<void> lineEnds = checkLineEnds(whole); !lineEnds) return failure(path, lineEnds.error(), notOpened);

  // The first line end decides how every line ends when the file is saved.
  const std::size_t firstLineFeed = whole.find('\n');
  text.crlf = firstLineFeed != std::string_view::npos && firstLineFeed > 0 && whole[firstLineFeed - 1] == '\r';
  text.text = QString::fromUtf8(whole.data(), static_cast<qsizetype>(whole.size()));
  // Every carriage return stands before a line feed (checked above).
  text.text.remove(u'\r');
  return text;
}

std::string textFileBytes(const TextFile& file) {
  QString text = file.text;
  if (file.crlf) text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  std::string bytes = file.byteOrderMark ? std::string(utf8ByteOrderMark) : std::string();
  bytes += text.toStdString();
  return bytes;
}

Result<void> writeTextFile(const QString& path, const TextFile& file) {
  const std::string name = QFile::encodeName(path).toStdString();
  const std::string bytes = textFileBytes(file);
  // A file already there keeps its mode, owner and attributes; a new one
  // is made readable by all and writable by its owner.
  const Result<void> written = QFileInfo::exists(path) ? writeFileAtomically(name, bytes)
                                                        : writeOwnFileAtomically(name, bytes, 0644);
  if (!written) {
    return failure(path, written.error(), "not saved");
  }
  return {};
}

}  // namespace brindlewort
