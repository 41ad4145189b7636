#include "settings/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringList>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "base/space_or_tab.h"

namespace brindlewort {

namespace {

// A settings file this large is not one any program of ours wrote; reading
// it on every access would stall the caller, so it counts as unreadable.
constexpr qint64 largestSensibleFile = 4 * 1024 * 1024;

Error failure(const QString& message) { return {message.toStdString()}; }

const QByteArray byteOrderMark("\xEF\xBB\xBF");


QByteArray trimmedBlanks(QByteArray text) {
  qsizetype start = 0;
  qsizetype end = text.size();
  while (start < end && isSpaceOrTab(text[start])) ++start;
  while (end > start && (isSpaceOrTab(text[end - 1]) || text[end - 1] == '\r')) --end;
  return text.mid(start, end - start);
}

enum class LineKind { other, section, key };

struct ParsedLine {
  LineKind kind = LineKind::other;
  QByteArray name;   // section name or key
  QByteArray value;  // raw text after '=' for a key
};

ParsedLine parseLine(const QByteArray& rawLine) {
  // A byte-order mark belongs at the top of the file, but removing the
  // first line can bring up one that stood further down; reader and writer
  // must agree on such a line either way, so however many open it, all go.
  QByteArray unmarked = rawLine;
  while (unmarked.startsWith(byteOrderMark)) unmarked = unmarked.mid(byteOrderMark.size());
  const QByteArray line = trimmedBlanks(unmarked);
  ParsedLine parsed;
  if (line.isEmpty() || line.front() == ';' || line.front() == '#') return parsed;
  if (line.front() == '[') {
    const qsizetype close = line.indexOf(']');
    parsed.kind = LineKind::section;
    parsed.name = close < 0 ? line.mid(1) : line.mid(1, close - 1);
    return parsed;
  }
  const qsizetype equals = line.indexOf('=');
  if (equals <= 0) return parsed;
  parsed.kind = LineKind::key;
  parsed.name = trimmedBlanks(line.left(equals));
  parsed.value = line.mid(equals + 1);
  return parsed;
}

bool isGeneralSection(const QByteArray& name) {
  return name.compare("general", Qt::CaseInsensitive) == 0;
}

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Undoes QSettings' quoting and escaping of one value. A value with an
// unquoted comma is a list and a value starting with '@' (other than the
// escaped "@@") is a typed value; neither is a text, so both read as absent.
std::optional<QString> decodeValue(const QByteArray& raw) {
  QByteArray bytes;
  qsizetype keptLength = 0;  // trailing unquoted blanks are dropped
  bool quoted = false;
  qsizetype i = 0;
  while (i < raw.size() && isSpaceOrTab(raw[i])) ++i;
  for (; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '"') {
      quoted = !quoted;
      keptLength = bytes.size();
      continue;
    }
    if (c == ',' && !quoted) return std::nullopt;
    if (c == '\\' && i + 1 < raw.size()) {
      const char escaped = raw[++i];
      switch (escaped) {
        case 'a': bytes += '\a'; break;
        case 'b': bytes += '\b'; break;
        case 'f': bytes += '\f'; break;
        case 'n': bytes += '\n'; break;
        case 'r': bytes += '\r'; break;
        case 't': bytes += '\t'; break;
        case 'v': bytes += '\v'; break;
        case 'x': {
          unsigned code = 0;
          while (i + 1 < raw.size() && hexDigitValue(raw[i + 1]) >= 0)
            code = (code * 16 + static_cast<unsigned>(hexDigitValue(raw[++i]))) & 0xFFFFu;
          bytes += QString(QChar(static_cast<char16_t>(code))).toUtf8();
          break;
        }
        default: bytes += escaped; break;
      }
      keptLength = bytes.size();
      continue;
    }
    bytes += c;
    if (quoted || !isSpaceOrTab(c)) keptLength = bytes.size();
  }
  bytes.truncate(keptLength);
  if (bytes.startsWith('@')) {
    if (!bytes.startsWith("@@")) return std::nullopt;
    bytes.remove(0, 1);
  }
  return QString::fromUtf8(bytes);
}

}  // namespace

std::optional<QString> iniTextInContents(const QByteArray& contents, const QString& key) {
  const QByteArray wantedKey = key.toUtf8();
  bool inGeneral = true;  // keys before any section belong to the general one
  std::optional<QByteArray> rawValue;
  // Editors that save a byte-order mark put it in front of the first key;
  // the writer keeps it there, so the reader must look past it too.
  const QByteArray body =
      contents.startsWith(byteOrderMark) ? contents.mid(byteOrderMark.size()) : contents;
  for (const QByteArray& line : body.split('\n')) {
    const ParsedLine parsed = parseLine(line);
    if (parsed.kind == LineKind::section) {
      inGeneral = isGeneralSection(parsed.name);
    } else if (parsed.kind == LineKind::key && inGeneral && parsed.name == wantedKey) {
      rawValue = parsed.value;  // the last one wins, as in QSettings
    }
  }
  if (!rawValue) return std::nullopt;
  return decodeValue(*rawValue);
}

Result<std::optional<QString>> readIniText(const QString& path, const QString& key) {
  const QFileInfo info(path);
  if (!info.exists()) return std::optional<QString>();
  // A folder, a pipe or a device in the file's place must not block or
  // flood the reader.
  if (!info.isFile()) return failure(QStringLiteral("%1 is not a regular file").arg(path));
  if (info.size() > largestSensibleFile)
    return failure(QStringLiteral("%1 is too large to be a settings file").arg(path));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return failure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
  const QByteArray contents = file.read(largestSensibleFile);
  if (file.error() != QFileDevice::NoError)
    return failure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
  return iniTextInContents(contents, key);
}

QByteArray withIniValue(const QByteArray& contents, const QString& key,
                        const std::optional<QByteArray>& value) {
  const QByteArray wantedKey = key.toUtf8();
  const bool hasByteOrderMark = contents.startsWith(byteOrderMark);
  const QByteArray body = hasByteOrderMark ? contents.mid(byteOrderMark.size()) : contents;

  std::vector<QByteArray> lines;
  if (!body.isEmpty()) {
    const QList<QByteArray> split = body.split('\n');
    lines.assign(split.begin(), split.end());
  }
  if (body.endsWith('\n')) lines.pop_back();

  std::vector<QByteArray> edited;
  edited.reserve(lines.size() + 3);
  bool inGeneral = true;
  bool written = !value.has_value();
  std::optional<std::size_t> generalHeader;
  for (const QByteArray& line : lines) {
    const ParsedLine parsed = parseLine(line);
    if (parsed.kind == LineKind::section) {
      inGeneral = isGeneralSection(parsed.name);
      edited.push_back(line);
      if (inGeneral && !generalHeader) generalHeader = edited.size() - 1;
      continue;
    }
    if (parsed.kind == LineKind::key && inGeneral && parsed.name == wantedKey) {
      // The first occurrence takes the new value in place; repeats go.
      if (!written) {
        QByteArray replacement = wantedKey + '=' + *value;
        if (line.endsWith('\r')) replacement += '\r';
        edited.push_back(replacement);
        written = true;
      }
      continue;
    }
    edited.push_back(line);
  }
  if (!written) {
    const QByteArray newLine = wantedKey + '=' + *value;
    if (generalHeader) {
      edited.insert(edited.begin() + static_cast<std::ptrdiff_t>(*generalHeader + 1), newLine);
    } else {
      // Keys above the first section header are general ones, so putting
      // the header on top keeps their meaning.
      std::vector<QByteArray> head{QByteArrayLiteral("[General]"), newLine};
      if (!edited.empty()) head.emplace_back();
      edited.insert(edited.begin(), head.begin(), head.end());
    }
  }

  QByteArray result = hasByteOrderMark ? byteOrderMark : QByteArray();
  for (const QByteArray& line : edited) result += line + '\n';
  return result;
}

Result<void> changeIniValue(const QString& path, const QString& key,
                            const std::optional<QByteArray>& value) {
  const QFileInfo info(path);
  if (!QDir().mkpath(info.absolutePath()))
    return failure(QStringLiteral("cannot create the folder %1").arg(info.absolutePath()));

  // The same lock file QSettings takes, so its writers and ours take turns.
  QLockFile lock(path + QStringLiteral(".lock"));
  if (!lock.tryLock(5000))
    return failure(QStringLiteral("%1 is locked by another program").arg(path));

  QByteArray contents;
  if (info.exists()) {
    if (!info.isFile()) return failure(QStringLiteral("%1 is not a regular file").arg(path));
    if (info.size() > largestSensibleFile)
      return failure(QStringLiteral("%1 is too large to be a settings file").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
      return failure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
      return failure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
  }

  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly))
    return failure(QStringLiteral("cannot write %1: %2").arg(path, out.errorString()));
  out.write(withIniValue(contents, key, value));
  // The new file would be the caller's: root changing a user's settings
  // would leave a file the user can no longer change. Others cannot give a
  // file away, and their own file stays theirs anyway.
  struct stat old {};
  if (::stat(QFile::encodeName(path).constData(), &old) == 0) {
    struct stat fresh {};
    const bool ownerDiffers = ::fstat(out.handle(), &fresh) != 0 || fresh.st_uid != old.st_uid ||
                              fresh.st_gid != old.st_gid;
    const bool ownerLost = ownerDiffers && ::fchown(out.handle(), old.st_uid, old.st_gid) != 0 &&
                           ::geteuid() == 0;
    if (ownerLost || ::fchmod(out.handle(), old.st_mode & 07777) != 0) {
      out.cancelWriting();
      return failure(QStringLiteral("cannot keep the owner and mode of %1").arg(path));
    }
  }
  if (!out.commit()) return failure(QStringLiteral("cannot write %1: %2").arg(path, out.errorString()));
  return {};
}

}  // namespace brindlewort
