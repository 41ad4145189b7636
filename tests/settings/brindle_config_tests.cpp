// brindle config end to end, in a private config folder, and brindle wrap
// following the setting it stores.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

struct BrindleRun {
  int exitCode = -1;
  QByteArray out;
};

class BrindleConfig : public ::testing::Test {
 protected:
  BrindleRun brindle(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome_.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(BRINDLE_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput()};
  }
  QByteArray shownLength() {
    const BrindleRun run = brindle({QStringLiteral("config")});
    EXPECT_EQ(run.exitCode, 0);
    return run.out.split('\n').front();
  }

 private:
  QTemporaryDir configHome_;
};

TEST_F(BrindleConfig, ShowsSetsAndResets) {
  struct Step {
    const char* argument;
    int exitCode;
    const char* shown;
  };
  const Step steps[] = {
      {nullptr, 0, "max-comment-length: 80"}, {"72", 0, "max-comment-length: 72"},
      {"none", 0, "max-comment-length: none"}, {"0", 0, "max-comment-length: none"},
      {"-3", 2, "max-comment-length: none"},  {"7x", 2, "max-comment-length: none"},
      {"reset", 0, "max-comment-length: 80"},
  };
  for (const Step& step : steps) {
    if (step.argument) {
      const BrindleRun run = brindle({QStringLiteral("config"), QStringLiteral("max-comment-length"),
                               QString::fromLatin1(step.argument)});
      EXPECT_EQ(run.exitCode, step.exitCode) << step.argument;
    }
    EXPECT_EQ(shownLength(), QByteArray(step.shown)) << (step.argument ? step.argument : "");
  }
  EXPECT_EQ(brindle({QStringLiteral("config"), QStringLiteral("colour")}).exitCode, 2);
}

TEST_F(BrindleConfig, WrapWithoutWidthUsesTheSetting) {
  const QByteArray comment = "// one two three four five six seven eight nine ten\n";
  EXPECT_EQ(brindle({QStringLiteral("wrap")}, comment).out, comment);
  brindle({QStringLiteral("config"), QStringLiteral("max-comment-length"), QStringLiteral("30")});
  EXPECT_EQ(brindle({QStringLiteral("wrap")}, comment).out,
            "// one two three four five six\n// seven eight nine ten\n");
  EXPECT_EQ(brindle({QStringLiteral("wrap"), QStringLiteral("--width"), QStringLiteral("80")}, comment).out,
            comment);
}

}  // namespace
