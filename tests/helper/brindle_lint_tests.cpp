// brindle lint end to end: the built brindle talking to the built helper on
// a private bus (Lint.*), and to a bus where no helper exists (NoHelper.*).

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct BrindleRun {
  int exitCode = -1;
  QByteArray out, err;
};

BrindleRun brindle(const QStringList& arguments, const QByteArray& input = {}) {
  QProcess process;
  process.start(QStringLiteral(BRINDLE_PATH), arguments);
  process.write(input);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeTemp(const QTemporaryDir& dir, const char* name, const QByteArray& text) {
  QFile file(dir.filePath(QString::fromLatin1(name)));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
  return file.fileName();
}

// Standard input to standard output, --check, in place, and a file that is
// no UTF-8, which is reported and kept as it was.
TEST(Lint, CorrectsThroughTheHelper) {
  BrindleRun run = brindle({"lint"}, "//recieve  \nlet x = 1\n");
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, "// receive\nlet x = 1\n");
  EXPECT_EQ(brindle({"lint"}, "").out, "");
  QTemporaryDir dir;
  const QString dirty = writeTemp(dir, "dirty.swift", "//teh\n");
  const QString clean = writeTemp(dir, "clean.swift", "// fine\n");
  run = brindle({"lint", "--check", dirty, clean});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, dirty.toUtf8() + "\n");
  EXPECT_EQ(contents(dirty), "//teh\n");

  run = brindle({"lint", "-i", dirty, clean});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(contents(dirty), "// the\n");
  EXPECT_EQ(contents(clean), "// fine\n");

  const QByteArray bad("//teh \xff\n", 8);
  const QString badPath = writeTemp(dir, "bad.swift", bad);
  run = brindle({"lint", "-i", badPath});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_FALSE(run.err.isEmpty());
  EXPECT_EQ(contents(badPath), bad);
}

TEST(NoHelper, FailsClearlyAndLeavesFilesAlone) {
  QTemporaryDir dir;
  const QString path = writeTemp(dir, "a.swift", "//teh\n");
  const BrindleRun run = brindle({"lint", "-i", path});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.contains("auto-correction failed")) << run.err.toStdString();
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_EQ(contents(path), "//teh\n");
}

}  // namespace
