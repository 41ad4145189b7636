// brindle lint end to end: the built brindle talking to the built helper on
// a private bus (Lint.*), and to a bus where no helper exists (NoHelper.*).

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <functional>

#include "helper/helper_protocol.h"

namespace {

struct BrindleRun {
  int exitCode = -1;
  QByteArray out, err;
};

BrindleRun brindle(const QStringList& arguments, const QByteArray& input = {},
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(BRINDLE_PATH), arguments);
  process.write(input);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(180000));
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
  EXPECT_EQ(run.out, dirty.toUtf8() + ":1: the helper would correct this\n");
  EXPECT_EQ(contents(dirty), "//teh\n");
  run = brindle({"lint", "--diff", dirty, clean});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "--- " + dirty.toUtf8() + "\n+++ " + dirty.toUtf8() + "\n@@ -1 +1 @@\n-//teh\n+// the\n");

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

// A "//" line inside a C++ raw string, a JavaScript template literal or a
// Go raw string is code: the helper's corrections are taken only on the
// lines that are comments in the file's language.
TEST(Lint, CorrectsCommentLinesOnly) {
  struct Case {
    const char* file;
    QByteArray text, expected;
  };
  const Case cases[] = {
      {"raw.cpp", "auto s = R\"(\n//teh  \n)\";\n//teh\n", "auto s = R\"(\n//teh  \n)\";\n// the\n"},
      {"template.js", "const s = `\n  //recieve\n`;\n//recieve\n", "const s = `\n  //recieve\n`;\n// receive\n"},
      {"raw.go", "var s = `\n//teh \n`\n\n//teh\n", "var s = `\n//teh \n`\n\n// the\n"},
      // A block comment's text is comment text; a block after code is not.
      {"block.c", "/*\n//teh\n*/\n//teh\n", "/*\n// the\n*/\n// the\n"},
      {"after.c", "x(); /*\n//teh\n*/\n//teh\n", "x(); /*\n//teh\n*/\n// the\n"},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    BrindleRun run = brindle({"lint", "--stdin-filename", QString::fromLatin1(c.file)}, c.text);
    EXPECT_EQ(run.exitCode, 0) << c.file << ": " << run.err.toStdString();
    EXPECT_EQ(run.out, c.expected) << c.file;
    const QString path = writeTemp(dir, c.file, c.text);
    run = brindle({"lint", "-i", path});
    EXPECT_EQ(run.exitCode, 0) << c.file << ": " << run.err.toStdString();
    EXPECT_EQ(contents(path), c.expected) << c.file;
  }
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

bool helperNameOwned() {
  return QDBusConnection::sessionBus()
      .interface()
      ->isServiceRegistered(QString::fromLatin1(brindlewort::helperServiceName))
      .value();
}

bool waitUntil(const std::function<bool()>& condition) {
  for (int i = 0; i < 1200 && !condition(); ++i) QThread::msleep(50);
  return condition();
}

// A misbehaving helper (see fake_helper_service.cpp) owning the name while
// it lives.
class StandIn {
 public:
  explicit StandIn(const char* mode) {
    process_.start(QStringLiteral(FAKE_HELPER_PATH), {QString::fromLatin1(mode)});
    EXPECT_TRUE(waitUntil(helperNameOwned)) << "stand-in did not start";
  }
  ~StandIn() {
    process_.kill();
    process_.waitForFinished(60000);
    EXPECT_TRUE(waitUntil([] { return !helperNameOwned(); }));
  }

 private:
  QProcess process_;
};

// A helper that never answers costs the run one bound, not one per file.
// Which files were already on their way when the bound ran out depends on
// how busy the machine is; what holds on any machine: the first file times
// out, every file is reported exactly once (timed out or not processed),
// none is changed, and the run takes one bound plus a margin that is well
// below the bound of a second file.
TEST(NoHelper, HangingHelperCostsTheRunOneBound) {
  StandIn standIn("silent");
  QTemporaryDir dir;
  QStringList files;
  for (int i = 0; i < 6; ++i) files << writeTemp(dir, QStringLiteral("f%1.swift").arg(i).toLatin1().constData(), "//teh\n");
  constexpr qint64 boundSeconds = 10;
  QElapsedTimer clock;
  clock.start();
  const BrindleRun run = brindle(QStringList{"lint", "-i", "--timeout", QString::number(boundSeconds)} + files);
  EXPECT_LT(clock.elapsed(), (2 * boundSeconds - 1) * 1000);
  EXPECT_EQ(run.exitCode, 2);
  // brindle's own messages; Qt may add a warning of its own at exit while the
  // unanswered call is still open.
  QList<QByteArray> lines;
  for (const QByteArray& line : run.err.trimmed().split('\n'))
    if (line.startsWith("brindle: ")) lines << line;
  ASSERT_EQ(lines.size(), files.size()) << run.err.toStdString();
  EXPECT_TRUE(lines[0].contains("did not answer in time")) << lines[0].toStdString();
  for (const QString& path : files) {
    const auto reports = std::ranges::count_if(lines, [&](const QByteArray& line) {
      return line.contains(path.toUtf8() + ":") &&
             (line.contains("did not answer in time") ||
              line.endsWith("not processed: the helper gave no answer within the run's 10 s bound"));
    });
    EXPECT_EQ(reports, 1) << path.toStdString() << "\n" << run.err.toStdString();
    EXPECT_EQ(contents(path), "//teh\n");
  }
}

// Whatever the helper makes of code lines, only comment lines change; an
// answer with lines added or lost cannot be matched line by line, so the
// file is reported and left as it was.
TEST(NoHelper, AnswersAreTakenOnCommentLinesOnly) {
  QTemporaryDir dir;
  const QByteArray text = "//teh\nint x;\nauto s = R\"(\n// a\n)\";\n";
  {
    StandIn standIn("every-line");
    const BrindleRun run = brindle({"lint", "--stdin-filename", "a.cpp"}, text);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "//teh!\nint x;\nauto s = R\"(\n// a\n)\";\n");
  }
  StandIn standIn("extra-line");
  const QString path = writeTemp(dir, "a.cpp", text);
  const BrindleRun run = brindle({"lint", "-i", path});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.contains("different number of lines")) << run.err.toStdString();
  EXPECT_EQ(contents(path), text);
}

// A helper that dies mid-request is reported as stopped, at once.
TEST(NoHelper, KilledHelperIsReportedAsStopped) {
  StandIn standIn("die");
  QElapsedTimer clock;
  clock.start();
  const BrindleRun run = brindle({"lint", "--timeout", "120"}, "//teh\n");
  EXPECT_LT(clock.elapsed(), 60000);  // far below its bound
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.contains("the helper stopped before answering")) << run.err.toStdString();
}

}  // namespace
