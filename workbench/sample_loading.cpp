#include "workbench/sample_loading.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <optional>

namespace brindlewort {

namespace {

// Samples larger than this are not samples; refusing them keeps a stray
// huge file from freezing the window.
constexpr qint64 maximumSampleSize = 64 * 1024 * 1024;

std::optional<QByteArray> readWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > maximumSampleSize) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return bytes;
}

// A byte order mark names the encoding; without one the file must be valid
// UTF-8, since guessing a legacy encoding would show garbage silently.
std::optional<QString> decodeText(const QByteArray& bytes) {
  const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
  QStringDecoder decoder(marked.value_or(QStringConverter::Utf8),
                         QStringConverter::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

}  // namespace

SampleContent loadSampleContent(const QString& folder, const QString& fileName) {
  if (!QFileInfo(folder).isDir()) return {SampleContent::Kind::folderMissing, {}};

  const QString path = QDir(folder).filePath(fileName);
  // The text after the last full stop of the file name; none without one.
  const QString name = QFileInfo(path).fileName();
  const qsizetype dot = name.lastIndexOf(u'.');
  const QString extension = dot < 0 ? QString() : name.mid(dot + 1);

  if (extension == u"txt") {
    const std::optional<QByteArray> bytes = readWholeFile(path);
    std::optional<QString> text = bytes ? decodeText(*bytes) : std::nullopt;
    return {SampleContent::Kind::plainText,
            text ? *text : QString::fromLatin1(failedToLoadSampleMessage)};
  }
  if (extension == u"html") {
    const std::optional<QByteArray> bytes = readWholeFile(path);
    return {SampleContent::Kind::richText, bytes ? QString::fromUtf8(*bytes) : QString()};
  }
  return {SampleContent::Kind::plainText, QString::fromLatin1(unknownDocumentTypePrefix) + extension};
}

}  // namespace brindlewort
