// The shared settings store against a real settings file in a private
// config folder ($XDG_CONFIG_HOME points into a temporary folder).

#include <gtest/gtest.h>

#include <ostream>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/comment_length.h"
#include "settings/shared_settings.h"

namespace brindlewort {
namespace {

QString settingsPath() { return sharedSettingsFilePath(); }

void writeFile(const QByteArray& contents) {
  QFile::remove(settingsPath());
  QFile file(settingsPath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(contents);
}

QByteArray fileContents() {
  QFile file(settingsPath());
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void removeSettings() {
  QFile::remove(settingsPath());
  QDir(settingsPath()).removeRecursively();
}

// Every "Got MaxCommentLength" line logged while it lives.
class LogCapture {
 public:
  LogCapture() {
    lines().clear();
    previous_ = qInstallMessageHandler(&LogCapture::handle);
  }
  ~LogCapture() { qInstallMessageHandler(previous_); }
  static QStringList& lines() {
    static QStringList captured;
    return captured;
  }

 private:
  static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtInfoMsg && QByteArray(context.category) == "brindlewort.settings")
      lines().append(text);
  }
  QtMessageHandler previous_;
};

void pumpEvents(std::chrono::milliseconds duration) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < duration.count()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
}

class NotificationCounter {
 public:
  NotificationCounter() {
    connection_ = QObject::connect(&SharedSettings::shared(),
                                   &SharedSettings::maxCommentLengthDidChange,
                                   [this] { ++count; });
  }
  ~NotificationCounter() { QObject::disconnect(connection_); }
  int count = 0;

 private:
  QMetaObject::Connection connection_;
};

constexpr std::int64_t noLimit = noCommentLengthLimit;

struct StoredCase {
  const char* name;
  const char* storedLine;  // the value as it stands in the file; null: no key
  std::int64_t expected;
  const char* loggedText;  // null: nothing logged
};

void PrintTo(const StoredCase& c, std::ostream* os) { *os << c.name; }

class StoredValueCases : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredValueCases, ReadsAs) {
  const StoredCase& c = GetParam();
  QByteArray contents = "[General]\nOther=1\n";
  if (c.storedLine) contents += QByteArray("MaxCommentLength=") + c.storedLine + "\n";
  writeFile(contents);
  LogCapture log;
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), c.expected);
  if (c.loggedText)
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Got MaxCommentLength: '%1'")
                                           .arg(QString::fromUtf8(c.loggedText))});
  else
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join(QLatin1Char('|')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoredValueCases,
    ::testing::Values(
        StoredCase{"nothing", nullptr, 80, nullptr},
        StoredCase{"plain", "72", 72, "72"},
        StoredCase{"zero", "0", noLimit, "0"},
        StoredCase{"plusSign", "+72", 72, "+72"},
        StoredCase{"leadingZeros", "0072", 72, "0072"},
        StoredCase{"negative", "-5", -5, "-5"},
        StoredCase{"minusZero", "-0", noLimit, "-0"},
        StoredCase{"manyZeros", "000", noLimit, "000"},
        StoredCase{"spaceBefore", "\" 72\"", 80, " 72"},
        StoredCase{"spaceAfter", "\"72 \"", 80, "72 "},
        StoredCase{"spaceInside", "7 2", 80, "7 2"},
        StoredCase{"letterAfter", "72a", 80, "72a"},
        StoredCase{"hexPrefix", "0x48", 80, "0x48"},
        StoredCase{"separator", "1_000", 80, "1_000"},
        StoredCase{"emptyText", "", 80, ""},
        StoredCase{"quotedEmpty", "\"\"", 80, ""},
        StoredCase{"lonePlus", "+", 80, "+"},
        StoredCase{"loneMinus", "-", 80, "-"},
        StoredCase{"doubleSign", "+-1", 80, "+-1"},
        StoredCase{"fraction", "7.5", 80, "7.5"},
        StoredCase{"largest", "9223372036854775807", noLimit, "9223372036854775807"},
        StoredCase{"oneAboveLargest", "9223372036854775808", 80, "9223372036854775808"},
        StoredCase{"mostNegative", "-9223372036854775808", INT64_MIN, "-9223372036854775808"},
        StoredCase{"oneBelowMostNegative", "-9223372036854775809", 80, "-9223372036854775809"},
        StoredCase{"arabicIndicDigits", "\xd9\xa7\xd9\xa2", 80, "\xd9\xa7\xd9\xa2"},
        StoredCase{"fullWidthDigits", "\xef\xbc\x97\xef\xbc\x92", 80, "\xef\xbc\x97\xef\xbc\x92"},
        StoredCase{"list", "72, 73", 80, nullptr},
        StoredCase{"typedValue", "@Variant(\\0\\0\\0\\x7f)", 80, nullptr},
        StoredCase{"escapedAt", "@@72", 80, "@72"}),
    [](const ::testing::TestParamInfo<StoredCase>& param) {
      return std::string(param.param.name);
    });

TEST(SharedSettingsFile, KeyInAnotherSectionOrCommentedOutIsNotRead) {
  writeFile("; MaxCommentLength=50\n[Other]\nMaxCommentLength=60\n");
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 80);
  writeFile("MaxCommentLength=50\n[Other]\nMaxCommentLength=60\n");
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 50);
}

struct WriteCase {
  const char* name;
  std::int64_t written;
  const char* stored;
  std::int64_t readBack;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class WriteCases : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteCases, StoresPostsOnceAndReadsBack) {
  const WriteCase& c = GetParam();
  removeSettings();
  NotificationCounter notifications;
  SharedSettings::shared().setMaxCommentLength(c.written);
  EXPECT_EQ(notifications.count, 1);
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), c.readBack);
  // Any QSettings program of the group reads the same value.
  QSettings other(settingsPath(), QSettings::IniFormat);
  EXPECT_EQ(other.value(QStringLiteral("MaxCommentLength")).toString(),
            QString::fromLatin1(c.stored));
  // Our own write is not mistaken for another program's.
  pumpEvents(std::chrono::milliseconds(300));
  EXPECT_EQ(notifications.count, 1);
}

INSTANTIATE_TEST_SUITE_P(Table, WriteCases,
                         ::testing::Values(WriteCase{"ordinary", 72, "72", 72},
                                           WriteCase{"noLimit", noLimit, "0", noLimit},
                                           WriteCase{"zero", 0, "0", noLimit},
                                           WriteCase{"negative", -3, "-3", -3}),
                         [](const ::testing::TestParamInfo<WriteCase>& param) {
                           return std::string(param.param.name);
                         });

TEST(SharedSettingsNotifications, EveryWriteAndResetPostsWithoutComparing) {
  removeSettings();
  NotificationCounter notifications;
  SharedSettings::shared().resetMaxCommentLength();
  EXPECT_EQ(notifications.count, 1);
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 80);
  SharedSettings::shared().setMaxCommentLength(64);
  SharedSettings::shared().setMaxCommentLength(64);
  EXPECT_EQ(notifications.count, 3);
  SharedSettings::shared().resetMaxCommentLength();
  EXPECT_EQ(notifications.count, 4);
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 80);
  pumpEvents(std::chrono::milliseconds(300));
  EXPECT_EQ(notifications.count, 4);
}

TEST(SharedSettingsFile, WritesKeepEverythingElse) {
  const QByteArray before =
      "; written by hand\n[General]\nTheme=dark\nMaxCommentLength=50\n\n[Editor]\n"
      "MaxCommentLength=7\nfont=\"Mono, 12\"\n";
  writeFile(before);
  SharedSettings::shared().setMaxCommentLength(100);
  EXPECT_EQ(fileContents(), QByteArray(before).replace("=50", "=100"));
  SharedSettings::shared().resetMaxCommentLength();
  EXPECT_EQ(fileContents(), QByteArray(before).replace("MaxCommentLength=50\n", ""));
  SharedSettings::shared().setMaxCommentLength(90);
  QSettings other(settingsPath(), QSettings::IniFormat);
  EXPECT_EQ(other.value(QStringLiteral("Theme")).toString(), QStringLiteral("dark"));
  EXPECT_EQ(other.value(QStringLiteral("Editor/MaxCommentLength")).toInt(), 7);
  EXPECT_EQ(other.value(QStringLiteral("MaxCommentLength")).toInt(), 90);
}

TEST(SharedSettingsFile, CorruptFileReadsAsDefaultAndKeepsItsBytes) {
  const QByteArray garbage("\x00\xff\xfe[[[=\n\xc3(MaxCommentLength\n", 27);
  writeFile(garbage);
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 80);
  SharedSettings::shared().setMaxCommentLength(72);
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 72);
  EXPECT_TRUE(fileContents().endsWith(garbage));
}

TEST(SharedSettingsFile, SomethingElseInTheFilesPlaceNeitherCrashesNorHangs) {
  removeSettings();
  ASSERT_TRUE(QDir().mkpath(settingsPath()));  // a folder
  NotificationCounter notifications;
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 80);
  SharedSettings::shared().setMaxCommentLength(72);  // fails, logged
  EXPECT_EQ(notifications.count, 1);
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 80);
  removeSettings();

  ASSERT_EQ(mkfifo(QFile::encodeName(settingsPath()).constData(), 0600), 0);
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 80);
  SharedSettings::shared().setMaxCommentLength(72);
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 80);
  removeSettings();

  writeFile(QByteArray(5 * 1024 * 1024, 'x') + "\n[General]\nMaxCommentLength=72\n");
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 80);
  removeSettings();
}

TEST(SharedSettingsFile, ReadOnlyFileIsLeftAlone) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind root";
  writeFile("[General]\nMaxCommentLength=50\n");
  ASSERT_TRUE(QFile::setPermissions(settingsPath(), QFileDevice::ReadOwner));
  SharedSettings::shared().setMaxCommentLength(72);
  EXPECT_EQ(SharedSettings::shared().maxCommentLength(), 50);
  QFile::setPermissions(settingsPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// Another program of the group, played by this test binary itself.
QProcess* startWriter(const QStringList& arguments) {
  auto* process = new QProcess;
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->start(QCoreApplication::applicationFilePath(), arguments);
  return process;
}

TEST(SharedSettingsWatching, ChangesByOtherProgramsPostOncePerChange) {
  SharedSettings::shared().setMaxCommentLength(40);
  pumpEvents(std::chrono::milliseconds(200));
  NotificationCounter notifications;
  for (int value : {41, 42}) {
    std::unique_ptr<QProcess> writer(startWriter({QStringLiteral("--write"), QString::number(value)}));
    ASSERT_TRUE(writer->waitForFinished(30000));
    QElapsedTimer clock;
    clock.start();
    while (notifications.count < value - 40 && clock.elapsed() < 10000) pumpEvents(std::chrono::milliseconds(20));
    pumpEvents(std::chrono::milliseconds(300));
    EXPECT_EQ(notifications.count, value - 40);
    EXPECT_EQ(SharedSettings::shared().maxCommentLength(), value);
  }
}

TEST(SharedSettingsWatching, TwoWritersAtOnceLeaveAValidFile) {
  writeFile("[General]\nTheme=dark\n[Editor]\nfont=Mono\n");
  std::unique_ptr<QProcess> first(startWriter({QStringLiteral("--write-many"), QStringLiteral("100")}));
  std::unique_ptr<QProcess> second(startWriter({QStringLiteral("--write-many"), QStringLiteral("200")}));
  ASSERT_TRUE(first->waitForFinished(120000));
  ASSERT_TRUE(second->waitForFinished(120000));
  EXPECT_EQ(first->exitCode(), 0);
  EXPECT_EQ(second->exitCode(), 0);
  const std::int64_t value = SharedSettings::shared().maxCommentLength();
  EXPECT_TRUE((value >= 100 && value < 150) || (value >= 200 && value < 250)) << value;
  EXPECT_EQ(fileContents().count("MaxCommentLength="), 1);
  QSettings other(settingsPath(), QSettings::IniFormat);
  EXPECT_EQ(other.status(), QSettings::NoError);
  EXPECT_EQ(other.value(QStringLiteral("Theme")).toString(), QStringLiteral("dark"));
  EXPECT_EQ(other.value(QStringLiteral("Editor/font")).toString(), QStringLiteral("Mono"));
}

// The child side of the two tests above: "--write N" stores N once;
// "--write-many N" stores N, N+1, ... N+49 and checks each read.
int runWriter(const QStringList& arguments) {
  const qint64 start = arguments.at(2).toLongLong();
  if (arguments.at(1) == QLatin1String("--write")) {
    SharedSettings::shared().setMaxCommentLength(start);
    return 0;
  }
  for (qint64 value = start; value < start + 50; ++value) {
    SharedSettings::shared().setMaxCommentLength(value);
    const std::int64_t read = SharedSettings::shared().maxCommentLength();
    if (read < 100 || read >= 250) return 1;  // a torn or missing value
  }
  return 0;
}

}  // namespace
}  // namespace brindlewort

int main(int argc, char** argv) {
  // The children share the parent's config folder through the environment.
  QTemporaryDir configHome;
  if (!qEnvironmentVariableIsSet("BRINDLEWORT_TEST_CHILD")) {
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    qputenv("BRINDLEWORT_TEST_CHILD", "1");
  }
  // The store's info lines would bury the test report; LogCapture still
  // sees them.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtInfoMsg && QByteArray(context.category) == "brindlewort.settings") return;
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
  });
  QCoreApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() == 3 && arguments.at(1).startsWith(QLatin1String("--write")))
    return brindlewort::runWriter(arguments);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
