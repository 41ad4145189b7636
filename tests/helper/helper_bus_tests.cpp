// The auto-correction client and the helper service on a real private
// session bus. CTest runs this binary under a bus that activates the built
// helper (RealHelper.*), under a bus with no services where the tests start
// misbehaving stand-ins (StandIn.*, Lifecycle.*), and with no bus at all
// (NoSessionBus.*).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "helper/helper_protocol.h"
#include "helper/client/auto_correction_client.h"

namespace brindlewort {
namespace {

using namespace std::chrono_literals;
using Answer = std::optional<QString>;

bool nameIsOwned(QDBusConnection bus = QDBusConnection::sessionBus()) {
  return bus.interface()->isServiceRegistered(QString::fromLatin1(helperServiceName)).value();
}

// A blocking request and the milliseconds it took.
std::pair<Answer, qint64> timedRequest(const QString& text, std::chrono::milliseconds bound = 90s) {
  QElapsedTimer clock;
  clock.start();
  Answer answer = requestAutoCorrection(text, bound);
  return {answer, clock.elapsed()};
}

// The corrected or the same text, nothing for an empty one; a huge text
// under the limit is corrected; over it the client refuses to send, a
// client that skips that check gets an error, and the bus stays usable.
TEST(RealHelper, RepliesUpToTheSizeLimit) {
  const QString clean = QStringLiteral("// Already fine: “quotes”, émigré, 日本語.\nlet x = 1\n");
  const std::pair<QString, Answer> cases[] = {
      {QStringLiteral("//teh value   \nlet x = 1  \n"), QStringLiteral("// the value\nlet x = 1  \n")},
      {clean, clean},
      {QString(), std::nullopt}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(requestAutoCorrection(text), expected) << text.toStdString();

  const QString line = QStringLiteral("//teh quick fox   \n");
  const qsizetype lines = 12 * 1024 * 1024 / line.size();
  const Answer corrected = requestAutoCorrection(line.repeated(lines), 120s);
  ASSERT_TRUE(corrected.has_value());
  EXPECT_TRUE(*corrected == QStringLiteral("// the quick fox\n").repeated(lines));

  const QString huge(static_cast<qsizetype>(helperTextLimitBytes) + 1, QLatin1Char('x'));
  const Result<QString> outcome = sendForAutoCorrection(huge, 60s);
  ASSERT_FALSE(outcome);
  EXPECT_FALSE(outcome.error().empty());
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(helperServiceName), QString::fromLatin1(helperObjectPath),
      QString::fromLatin1(helperInterfaceName), QString::fromLatin1(helperMethodName));
  call << huge;
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 120000);
  EXPECT_EQ(reply.errorName(), QString::fromLatin1(helperTextTooLargeError));
  EXPECT_EQ(requestAutoCorrection(QStringLiteral("//ok")), QStringLiteral("// ok"));
}

// Sends one more request and waits for its answer (`expected`, or what the
// real helper makes of the text).
bool answeredLater(QObject& context, const QString& text, std::optional<QString> expected = std::nullopt) {
  Answer answer;
  bool done = false;
  requestAutoCorrectionAsync(text, &context, [&](Answer a) { answer = std::move(a); done = true; }, 60s);
  if (!QTest::qWaitFor([&] { return done; }, 90000)) return false;
  return answer.has_value() && (!expected || *answer == *expected);
}

// Blocking clients on their own threads and waiting-free requests from
// this thread at once: each gets its own answer, the latter exactly once
// and on the context's thread.
TEST(RealHelper, ConcurrentClientsEachGetTheirOwnAnswer) {
  constexpr std::size_t clients = 8, requests = 40;
  std::vector<Answer> answers(clients), asyncAnswers(requests);
  std::vector<int> calls(requests, 0);
  std::vector<std::unique_ptr<QThread>> threads;
  for (std::size_t i = 0; i < clients; ++i) {
    threads.emplace_back(QThread::create(
        [&answers, i] { answers[i] = requestAutoCorrection(QStringLiteral("//teh %1  \n").arg(i).repeated(2000)); }));
    threads.back()->start();
  }
  QObject context;
  for (std::size_t i = 0; i < requests; ++i) {
    requestAutoCorrectionAsync(QStringLiteral("//recieve %1").arg(i), &context, [&, i](Answer answer) {
      EXPECT_EQ(QThread::currentThread(), context.thread());
      ++calls[i];
      asyncAnswers[i] = std::move(answer);
    });
  }
  for (auto& thread : threads) ASSERT_TRUE(QTest::qWaitFor([&] { return thread->isFinished(); }, 60000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return std::ranges::count(calls, 0) == 0; }, 60000));
  // Replies come back in order: once a later request is answered, any second
  // call for an earlier one would have been made.
  ASSERT_TRUE(answeredLater(context, QStringLiteral("//recieve")));
  for (std::size_t i = 0; i < clients; ++i)
    EXPECT_EQ(answers[i], QStringLiteral("// the %1\n").arg(i).repeated(2000)) << i;
  for (std::size_t i = 0; i < requests; ++i) {
    EXPECT_EQ(calls[i], 1);
    EXPECT_EQ(asyncAnswers[i], QStringLiteral("// receive %1").arg(i));
  }
}

// A misbehaving fake_helper_service owning the helper's name while it lives.
class StandIn {
 public:
  explicit StandIn(const char* mode) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(FAKE_HELPER_PATH), {QString::fromLatin1(mode)});
    EXPECT_TRUE(QTest::qWaitFor([] { return nameIsOwned(); }, 60000)) << "stand-in did not start";
  }
  ~StandIn() {
    process_.kill();
    process_.waitForFinished(60000);
    EXPECT_TRUE(QTest::qWaitFor([] { return !nameIsOwned(); }, 60000));
  }

 private:
  QProcess process_;
};

// Each failure brings nothing back, within its bound, and a dead or
// missing service does not make the client wait the bound out.
TEST(StandIn, FailuresBringNothingBackInTime) {
  struct Case {
    const char* mode;  // null: no service at all
    std::chrono::milliseconds bound;
    qint64 atLeast, below;
  };
  // The upper bounds are far below the bound the client is given, so that
  // a loaded machine stays within them, and far above what a client that
  // waits its bound out would take.
  for (const Case& c : {Case{nullptr, 90s, 0, 30000}, Case{"empty", 90s, 0, 30000}, Case{"number", 90s, 0, 30000},
                        Case{"silent", 400ms, 350, 30000}, Case{"die", 90s, 0, 30000}}) {
    SCOPED_TRACE(c.mode ? c.mode : "missing");
    std::optional<StandIn> standIn;
    if (c.mode) standIn.emplace(c.mode);
    ASSERT_EQ(nameIsOwned(), c.mode != nullptr);
    const auto [answer, took] = timedRequest(QStringLiteral("x"), c.bound);
    EXPECT_FALSE(answer.has_value());
    EXPECT_GE(took, c.atLeast);
    EXPECT_LT(took, c.below);
  }
}

// Against a stand-in that answers late: a late reply is never taken for the
// next request's answer nor called back after its bound; text the bus
// cannot carry is not sent; a destroyed context gets no callback.
TEST(StandIn, LateRepliesUnsendableTextAndDestroyedContexts) {
  StandIn standIn("late");
  EXPECT_FALSE(requestAutoCorrection(QStringLiteral("first"), 300ms).has_value());
  EXPECT_EQ(requestAutoCorrection(QStringLiteral("second"), 60s), QStringLiteral("late:second"));
  for (const QChar bad : {QChar(0), QChar(0xD800)}) {
    const Result<QString> outcome = sendForAutoCorrection(QStringLiteral("// a") + bad + QStringLiteral("b"), 3s);
    ASSERT_FALSE(outcome);
    EXPECT_FALSE(outcome.error().empty());
  }
  QObject context;
  int calls = 0, orphanCalls = 0;
  Answer answer = QStringLiteral("unset");
  requestAutoCorrectionAsync(QStringLiteral("third"), &context, [&](Answer a) { ++calls; answer = std::move(a); }, 300ms);
  {
    QObject destroyed;
    requestAutoCorrectionAsync(QStringLiteral("x"), &destroyed, [&](Answer) { ++orphanCalls; }, 3s);
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, 60000));
  // The stand-in answers in the order it was asked: once a later request is
  // answered, the replies to "third" and "x" have arrived too.
  ASSERT_TRUE(answeredLater(context, QStringLiteral("fourth"), QStringLiteral("late:fourth")));
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(answer.has_value());
  EXPECT_EQ(orphanCalls, 0);
}

TEST(Lifecycle, HelperQuitsWhenIdleAndGivesUpItsName) {
  QProcess helper;
  helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  helper.start(QStringLiteral(HELPER_PATH), {QStringLiteral("--idle-timeout-ms"), QStringLiteral("3000")});
  ASSERT_TRUE(QTest::qWaitFor([] { return nameIsOwned(); }, 60000));
  EXPECT_EQ(requestAutoCorrection(QStringLiteral("//x")), QStringLiteral("// x"));
  EXPECT_TRUE(helper.waitForFinished(60000));
  EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(helper.exitCode(), 0);
  EXPECT_TRUE(QTest::qWaitFor([] { return !nameIsOwned(); }, 60000));
}

TEST(Lifecycle, HelperQuitsWhenItsBusGoesAway) {
  QProcess daemon;
  daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=" TEST_BUS_CONFIG),
                                               QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
  ASSERT_TRUE(daemon.waitForReadyRead(60000));
  const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
  QProcess helper;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
  helper.setProcessEnvironment(environment);
  helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  helper.start(QStringLiteral(HELPER_PATH));
  {
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("second-bus"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return nameIsOwned(bus); }, 60000));
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("second-bus"));
  daemon.kill();
  daemon.waitForFinished(60000);
  EXPECT_TRUE(helper.waitForFinished(60000)) << "the helper outlived its bus";
}

TEST(NoSessionBus, SaysSoOnStandardOutputAndReturnsAtOnce) {
  testing::internal::CaptureStdout();
  const auto [answer, took] = timedRequest(QStringLiteral("x"));
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(answer.has_value());
  EXPECT_LT(took, 30000);  // far below the 90 s bound
  EXPECT_TRUE(output.starts_with("Failed to connect to helper: ") && output.ends_with('\n')) << output;

  QObject context;
  int calls = 0;
  testing::internal::CaptureStdout();
  requestAutoCorrectionAsync(QStringLiteral("x"), &context, [&](Answer a) { EXPECT_FALSE(a.has_value()); ++calls; });
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(calls, 0) << "done must not run inside the call";
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, 60000));
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace brindlewort

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
