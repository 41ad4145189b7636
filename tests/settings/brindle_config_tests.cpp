// brindle config end to end, in a private config folder, and brindle wrap
// following the setting it stores.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct BrindleRun {
  int exitCode = -1;
  QByteArray out;
};

BrindleRun brindle(const QTemporaryDir& configHome, const QStringList& arguments, const QByteArray& input = {}) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome.path());
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(BRINDLE_PATH), arguments);
  process.write(input);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitCode(), process.readAllStandardOutput()};
}

TEST(BrindleConfig, ShowsSetsAndResets) {
  QTemporaryDir home;
  struct Step {
    const char* argument;  // empty: only show
    int exitCode;
    const char* shown;
  };
  const Step steps[] = {{"", 0, "80"},     {"72", 0, "72"}, {"none", 0, "none"}, {"0", 0, "none"},
                        {"-3", 2, "none"}, {"7x", 2, "none"}, {"reset", 0, "80"}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.argument);
    if (*step.argument) {
      EXPECT_EQ(brindle(home, {"config", "max-comment-length", step.argument}).exitCode, step.exitCode);
    }
    const BrindleRun run = brindle(home, {"config"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.split('\n').front(), "max-comment-length: " + QByteArray(step.shown));
  }
  EXPECT_EQ(brindle(home, {"config", "colour"}).exitCode, 2);
}

TEST(BrindleConfig, WrapWithoutWidthUsesTheSetting) {
  QTemporaryDir home;
  const QByteArray comment = "// one two three four five six seven eight nine ten\n";
  EXPECT_EQ(brindle(home, {"wrap"}, comment).out, comment);
  brindle(home, {"config", "max-comment-length", "30"});
  EXPECT_EQ(brindle(home, {"wrap"}, comment).out, "// one two three four five six\n// seven eight nine ten\n");
  EXPECT_EQ(brindle(home, {"wrap", "--width", "80"}, comment).out, comment);
}

// Root changing a user's setting (sudo with the user's environment) leaves
// the file the user's, with its mode.
TEST(BrindleConfig, KeepsTheSettingsFileOwnerAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  QTemporaryDir home;
  const BrindleRun shown = brindle(home, {"config", "max-comment-length", "60"});
  ASSERT_EQ(shown.exitCode, 0);
  const QByteArray path = shown.out.split('\n').at(1).mid(QByteArray("file: ").size());
  ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(path.constData(), 0604), 0);
  EXPECT_EQ(brindle(home, {"config", "max-comment-length", "72"}).exitCode, 0);
  struct stat info {};
  ASSERT_EQ(::stat(path.constData(), &info), 0);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
  EXPECT_EQ(brindle(home, {"config"}).out.split('\n').front(), "max-comment-length: 72");
}

}  // namespace
