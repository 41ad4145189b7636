// The shared settings store against a real settings file in a private
// config folder; other programs of the group are played by this binary.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "engine/comment_length.h"
#include "settings/shared_settings.h"

namespace brindlewort {
namespace {

constexpr std::int64_t noLimit = noCommentLengthLimit;
QStringList settingsLog;  // the store's info lines, filled by main's handler

SharedSettings& store() { return SharedSettings::shared(); }

void writeFile(const QByteArray& contents) {
  QFile::remove(sharedSettingsFilePath());
  QFile file(sharedSettingsFilePath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(contents);
}

QByteArray fileContents() {
  QFile file(sharedSettingsFilePath());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void removeSettings() {
  QFile::remove(sharedSettingsFilePath());
  QDir(sharedSettingsFilePath()).removeRecursively();
}

std::unique_ptr<QProcess> startWriter(const char* mode, int value) {
  auto process = std::make_unique<QProcess>();
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), QString::number(value)});
  return process;
}

// The value the store read at each of its posts. The file watcher delivers
// changes in order, so once another program's write has been posted, any
// stray post for an earlier change has been delivered too: a later write is
// the barrier that tells "no more posts" without waiting a fixed time.
struct PostLog {
  PostLog() {
    QObject::connect(&store(), &SharedSettings::maxCommentLengthDidChange, &context,
                     [this] { values.push_back(store().maxCommentLength()); });
  }
  // Another program writes `value`; waits until the store has posted it.
  bool outsideWriteSeen(int value) {
    auto writer = startWriter("--write", value);
    if (!writer->waitForFinished(60000) || writer->exitCode() != 0) return false;
    return QTest::qWaitFor([&] { return !values.empty() && values.back() == value; }, 60000);
  }
  QObject context;
  std::vector<std::int64_t> values;
};

// Every number form is checked against a reference parse by the
// settings_parse fuzz replay; here the store reads, logs and falls back.
TEST(SharedSettingsRead, StrictParseOfTheStoredText) {
  struct Case {
    const char* stored;  // null: no key
    std::int64_t expected;
    const char* logged;  // null: nothing logged
  };
  const Case cases[] = {
      {nullptr, 80, nullptr}, {"72", 72, "72"}, {"0", noLimit, "0"}, {"-5", -5, "-5"}, {"\" 72\"", 80, " 72"},
      {"72a", 80, "72a"}, {"", 80, ""}, {"\xd9\xa7\xd9\xa2", 80, "\xd9\xa7\xd9\xa2"},  // Arabic-Indic digits
      {"72, 73", 80, nullptr}, {"@Variant(\\0\\0\\0\\x7f)", 80, nullptr},  // not a text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(no key)");
    QByteArray contents = "[General]\nOther=1\n";
    if (c.stored) contents += QByteArray("MaxCommentLength=") + c.stored + "\n";
    writeFile(contents);
    settingsLog.clear();
    EXPECT_EQ(store().maxCommentLength(), c.expected);
    QStringList logged;
    if (c.logged) logged << QStringLiteral("Got MaxCommentLength: '%1'").arg(QString::fromUtf8(c.logged));
    EXPECT_EQ(settingsLog, logged);
  }
  writeFile("; MaxCommentLength=50\n[Other]\nMaxCommentLength=60\n");
  EXPECT_EQ(store().maxCommentLength(), 80);
  writeFile("MaxCommentLength=50\n[Other]\nMaxCommentLength=60\n");
  EXPECT_EQ(store().maxCommentLength(), 50);
}

// Every write and reset posts once, at once, without comparing with what
// is stored; the store's own writes are not taken for another program's.
TEST(SharedSettingsWrite, StoresAndPostsOnEveryWriteAndReset) {
  removeSettings();
  PostLog posted;
  struct Case {
    std::int64_t written;
    const char* stored;  // null: a reset
    std::int64_t readBack;
  };
  const Case cases[] = {{0, nullptr, 80},  {72, "72", 72},    {72, "72", 72},   {noLimit, "0", noLimit},
                        {0, "0", noLimit}, {-3, "-3", -3}, {0, nullptr, 80}, {0, nullptr, 80}};
  int expectedPosts = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "reset");
    EXPECT_TRUE((c.stored ? store().setMaxCommentLength(c.written) : store().resetMaxCommentLength()).ok());
    EXPECT_EQ(posted.values.size(), ++expectedPosts);
    EXPECT_EQ(store().maxCommentLength(), c.readBack);
    QSettings other(sharedSettingsFilePath(), QSettings::IniFormat);
    EXPECT_EQ(other.value(QStringLiteral("MaxCommentLength")).toString(), QString::fromLatin1(c.stored));
  }
  // The watcher saw every one of those writes; none was taken for another
  // program's, so the next post is the outside write's own.
  ASSERT_TRUE(posted.outsideWriteSeen(55));
  EXPECT_EQ(posted.values.size(), expectedPosts + 1);
}

// A write changes only its one line, even in garbage, which reads as 80.
TEST(SharedSettingsFile, WritesKeepEverythingElse) {
  const QByteArray before =
      "; written by hand\n[General]\nTheme=dark\nMaxCommentLength=50\n\n[Editor]\n"
      "MaxCommentLength=7\nfont=\"Mono, 12\"\n";
  writeFile(before);
  EXPECT_TRUE(store().setMaxCommentLength(100).ok());
  EXPECT_EQ(fileContents(), QByteArray(before).replace("=50", "=100"));
  EXPECT_TRUE(store().resetMaxCommentLength().ok());
  EXPECT_EQ(fileContents(), QByteArray(before).replace("MaxCommentLength=50\n", ""));
  const QByteArray garbage("\x00\xff\xfe[[[=\n\xc3(MaxCommentLength\n", 27);
  writeFile(garbage);
  EXPECT_EQ(store().maxCommentLength(), 80);
  EXPECT_TRUE(store().setMaxCommentLength(72).ok());
  EXPECT_EQ(store().maxCommentLength(), 72);
  EXPECT_TRUE(fileContents().endsWith(garbage));
}

// A folder, a pipe or a huge file in the file's place: reads give 80, a
// write that cannot land still posts, and nothing hangs.
TEST(SharedSettingsFile, SomethingElseInTheFilesPlaceNeitherCrashesNorHangs) {
  for (const char* kind : {"folder", "pipe", "huge file"}) {
    SCOPED_TRACE(kind);
    removeSettings();
    if (kind[0] == 'f') { ASSERT_TRUE(QDir().mkpath(sharedSettingsFilePath())); }
    if (kind[0] == 'p') { ASSERT_EQ(mkfifo(QFile::encodeName(sharedSettingsFilePath()).constData(), 0600), 0); }
    if (kind[0] == 'h') writeFile(QByteArray(5 * 1024 * 1024, 'x') + "\n[General]\nMaxCommentLength=72\n");
    EXPECT_EQ(store().maxCommentLength(), 80);
    if (kind[0] == 'h') continue;
    QSignalSpy posted(&store(), &SharedSettings::maxCommentLengthDidChange);
    EXPECT_FALSE(store().setMaxCommentLength(72).ok());
    EXPECT_EQ(posted.count(), 1);
    EXPECT_EQ(store().maxCommentLength(), 80);
  }
  removeSettings();
}

TEST(SharedSettingsFile, ReadOnlyFileIsLeftAlone) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind root";
  writeFile("[General]\nMaxCommentLength=50\n");
  ASSERT_TRUE(QFile::setPermissions(sharedSettingsFilePath(), QFileDevice::ReadOwner));
  EXPECT_FALSE(store().setMaxCommentLength(72).ok());
  EXPECT_EQ(store().maxCommentLength(), 50);
  QFile::setPermissions(sharedSettingsFilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(SharedSettingsWatching, ChangesByOtherProgramsPostOncePerChange) {
  EXPECT_TRUE(store().setMaxCommentLength(40).ok());
  PostLog posted;
  for (int value : {41, 42, 43}) {
    ASSERT_TRUE(posted.outsideWriteSeen(value));
    EXPECT_EQ(store().maxCommentLength(), value);
  }
  // One post per change: a repeat would show as a value seen twice.
  EXPECT_EQ(posted.values, (std::vector<std::int64_t>{41, 42, 43}));
}

TEST(SharedSettingsWatching, TwoWritersAtOnceLeaveAValidFile) {
  writeFile("[General]\nTheme=dark\n[Editor]\nfont=Mono\n");
  auto first = startWriter("--write-many", 100);
  auto second = startWriter("--write-many", 200);
  for (QProcess* writer : {first.get(), second.get()}) {
    ASSERT_TRUE(writer->waitForFinished(120000));
    EXPECT_EQ(writer->exitCode(), 0);
  }
  const std::int64_t value = store().maxCommentLength();
  EXPECT_TRUE((value >= 100 && value < 150) || (value >= 200 && value < 250)) << value;
  EXPECT_EQ(fileContents().count("MaxCommentLength="), 1);
  QSettings other(sharedSettingsFilePath(), QSettings::IniFormat);
  EXPECT_EQ(other.status(), QSettings::NoError);
  EXPECT_EQ(other.value(QStringLiteral("Theme")).toString(), QStringLiteral("dark"));
  EXPECT_EQ(other.value(QStringLiteral("Editor/font")).toString(), QStringLiteral("Mono"));
}

// The writer side: "--write N" stores N once; "--write-many N" stores
// N to N+49, failing on a torn or missing value read back.
int runWriter(const QStringList& arguments) {
  const qint64 start = arguments.at(2).toLongLong();
  const qint64 end = arguments.at(1) == QLatin1String("--write") ? start + 1 : start + 50;
  for (qint64 value = start; value < end; ++value) {
    (void)store().setMaxCommentLength(value);  // contention may refuse one; the read checks it
    const std::int64_t read = store().maxCommentLength();
    if (end - start > 1 && (read < 100 || read >= 250)) return 1;
  }
  return 0;
}

}  // namespace
}  // namespace brindlewort

int main(int argc, char** argv) {
  // The writers share the parent's config folder through the environment.
  QTemporaryDir configHome;
  if (!qEnvironmentVariableIsSet("BRINDLEWORT_TEST_CHILD")) {
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    qputenv("BRINDLEWORT_TEST_CHILD", "1");
  }
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtInfoMsg && QByteArray(context.category) == "brindlewort.settings")
      brindlewort::settingsLog.append(text);
    else
      std::fprintf(stderr, "%s\n", qUtf8Printable(text));
  });
  QCoreApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() == 3 && arguments.at(1).startsWith(QLatin1String("--write")))
    return brindlewort::runWriter(arguments);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
