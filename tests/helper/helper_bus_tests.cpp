// The auto-correction client and the helper service on a real private
// session bus. CTest runs this binary three times: under a bus that can
// start the built helper (RealHelper.*), under a bus with no services where
// the tests start misbehaving stand-ins themselves (StandIn.*, Lifecycle.*),
// and with no bus at all (NoSessionBus.*).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

#include "helper/helper_protocol.h"
#include "proofreading/auto_correction_client.h"

namespace brindlewort {
namespace {

using namespace std::chrono_literals;

const QString serviceName = QString::fromLatin1(helperServiceName);

bool nameIsOwned(QDBusConnection bus = QDBusConnection::sessionBus()) {
  return bus.interface()->isServiceRegistered(serviceName).value();
}

// Pumps events until `done` holds or the time runs out.
template <typename Condition>
bool waitUntil(Condition done, std::chrono::milliseconds limit = 10s) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limit.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return true;
}

qint64 millisecondsTaken(const std::function<void()>& work) {
  QElapsedTimer clock;
  clock.start();
  work();
  return clock.elapsed();
}

// ---- The real helper, started by the bus on demand ----

TEST(RealHelper, RepliesWithTheCorrectedText) {
  const auto corrected = requestAutoCorrection(QStringLiteral("//teh value   \nlet x = 1  \n"));
  ASSERT_TRUE(corrected.has_value());
  EXPECT_EQ(*corrected, QStringLiteral("// the value\nlet x = 1\n"));
}

TEST(RealHelper, RepliesWithTheSameTextWhenNothingNeedsFixing) {
  const QString clean = QStringLiteral("// Already fine: “quotes”, émigré, 日本語.\nlet x = 1\n");
  const auto corrected = requestAutoCorrection(clean);
  ASSERT_TRUE(corrected.has_value());
  EXPECT_EQ(*corrected, clean);
}

TEST(RealHelper, EmptyTextBringsNothingBack) {
  EXPECT_FALSE(requestAutoCorrection(QString()).has_value());
}

TEST(RealHelper, HugeTextUnderTheLimitIsCorrected) {
  const QString line = QStringLiteral("//teh quick fox   \n");
  const QString fixed = QStringLiteral("// the quick fox\n");
  const qsizetype lines = 12 * 1024 * 1024 / line.size();
  QString text;
  QString expected;
  text.reserve(line.size() * lines);
  expected.reserve(fixed.size() * lines);
  for (qsizetype i = 0; i < lines; ++i) {
    text += line;
    expected += fixed;
  }
  const auto corrected = requestAutoCorrection(text, 120s);
  ASSERT_TRUE(corrected.has_value());
  EXPECT_TRUE(*corrected == expected);
}

TEST(RealHelper, TextOverTheLimitIsRefusedAndTheBusStaysUsable) {
  const QString huge(static_cast<qsizetype>(helperTextLimitBytes) + 1, QLatin1Char('x'));
  const AutoCorrectionOutcome outcome = sendForAutoCorrection(huge, 60s);
  EXPECT_FALSE(outcome.correctedText.has_value());
  EXPECT_FALSE(outcome.failure.isEmpty());

  // A client that skips the check still gets an answer: an error.
  QDBusMessage call = QDBusMessage::createMethodCall(
      serviceName, QString::fromLatin1(helperObjectPath),
      QString::fromLatin1(helperInterfaceName), QString::fromLatin1(helperMethodName));
  call << huge;
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 120000);
  EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
  EXPECT_EQ(reply.errorName(), QString::fromLatin1(helperTextTooLargeError));

  EXPECT_EQ(requestAutoCorrection(QStringLiteral("//ok")), QStringLiteral("// ok"));
}

TEST(RealHelper, ConcurrentClientsEachGetTheirOwnAnswer) {
  constexpr int clients = 8;
  std::vector<std::optional<QString>> answers(clients);
  std::vector<std::unique_ptr<QThread>> threads;
  for (int i = 0; i < clients; ++i) {
    threads.emplace_back(QThread::create([&answers, i] {
      answers[static_cast<std::size_t>(i)] =
          requestAutoCorrection(QStringLiteral("//teh %1  \n").arg(i).repeated(2000));
    }));
    threads.back()->start();
  }
  for (auto& thread : threads) ASSERT_TRUE(thread->wait(60000));
  for (int i = 0; i < clients; ++i) {
    ASSERT_TRUE(answers[static_cast<std::size_t>(i)].has_value()) << i;
    EXPECT_EQ(*answers[static_cast<std::size_t>(i)],
              QStringLiteral("// the %1\n").arg(i).repeated(2000))
        << i;
  }
}

TEST(RealHelper, AsyncRequestsAnswerOnceEachOnTheContextThread) {
  QObject context;
  constexpr int requests = 40;
  std::vector<int> calls(requests, 0);
  std::vector<std::optional<QString>> answers(requests);
  for (int i = 0; i < requests; ++i) {
    requestAutoCorrectionAsync(
        QStringLiteral("//recieve %1").arg(i), &context,
        [&, i](std::optional<QString> answer) {
          EXPECT_EQ(QThread::currentThread(), context.thread());
          ++calls[static_cast<std::size_t>(i)];
          answers[static_cast<std::size_t>(i)] = std::move(answer);
        },
        30s);
  }
  ASSERT_TRUE(waitUntil([&] {
    for (int c : calls)
      if (c == 0) return false;
    return true;
  }));
  waitUntil([] { return false; }, 300ms);
  for (int i = 0; i < requests; ++i) {
    EXPECT_EQ(calls[static_cast<std::size_t>(i)], 1);
    EXPECT_EQ(answers[static_cast<std::size_t>(i)], QStringLiteral("// receive %1").arg(i));
  }
}

// ---- Stand-ins that misbehave, on a bus that starts nothing itself ----

class StandIn {
 public:
  explicit StandIn(const QString& mode) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(FAKE_HELPER_PATH), {mode});
    EXPECT_TRUE(waitUntil([] { return nameIsOwned(); })) << "stand-in did not start";
  }
  ~StandIn() {
    process_.kill();
    process_.waitForFinished(10000);
    EXPECT_TRUE(waitUntil([] { return !nameIsOwned(); }));
  }
  QProcess& process() { return process_; }

 private:
  QProcess process_;
};

TEST(StandIn, MissingServiceFailsAtOnce) {
  ASSERT_FALSE(nameIsOwned());
  std::optional<QString> answer;
  const qint64 took = millisecondsTaken([&] { answer = requestAutoCorrection(QStringLiteral("x")); });
  EXPECT_FALSE(answer.has_value());
  EXPECT_LT(took, 5000);
}

TEST(StandIn, EmptyReplyBringsNothingBackAtOnce) {
  StandIn standIn(QStringLiteral("empty"));
  std::optional<QString> answer;
  const qint64 took =
      millisecondsTaken([&] { answer = requestAutoCorrection(QStringLiteral("x"), 20s); });
  EXPECT_FALSE(answer.has_value());
  EXPECT_LT(took, 5000);
}

TEST(StandIn, ReplyOfTheWrongTypeBringsNothingBack) {
  StandIn standIn(QStringLiteral("number"));
  const AutoCorrectionOutcome outcome = sendForAutoCorrection(QStringLiteral("x"), 20s);
  EXPECT_FALSE(outcome.correctedText.has_value());
  EXPECT_FALSE(outcome.failure.isEmpty());
}

TEST(StandIn, SilentServiceEndsAtTheBound) {
  StandIn standIn(QStringLiteral("silent"));
  std::optional<QString> answer;
  const qint64 took =
      millisecondsTaken([&] { answer = requestAutoCorrection(QStringLiteral("x"), 400ms); });
  EXPECT_FALSE(answer.has_value());
  EXPECT_GE(took, 350);
  EXPECT_LT(took, 5000);
}

TEST(StandIn, ServiceDyingMidRequestEndsTheWaitEarly) {
  StandIn standIn(QStringLiteral("die"));
  std::optional<QString> answer;
  const qint64 took =
      millisecondsTaken([&] { answer = requestAutoCorrection(QStringLiteral("x"), 20s); });
  EXPECT_FALSE(answer.has_value());
  EXPECT_LT(took, 10000);
}

TEST(StandIn, LateReplyChangesNothing) {
  StandIn standIn(QStringLiteral("late"));
  EXPECT_FALSE(requestAutoCorrection(QStringLiteral("first"), 300ms).has_value());
  // The first reply arrives while the second request waits: it must not be
  // taken for the second one's answer.
  const auto second = requestAutoCorrection(QStringLiteral("second"), 3s);
  EXPECT_EQ(second, QStringLiteral("late:second"));

  QObject context;
  int calls = 0;
  std::optional<QString> answer = QStringLiteral("unset");
  requestAutoCorrectionAsync(
      QStringLiteral("third"), &context,
      [&](std::optional<QString> a) {
        ++calls;
        answer = std::move(a);
      },
      300ms);
  ASSERT_TRUE(waitUntil([&] { return calls > 0; }));
  waitUntil([] { return false; }, 2s);  // past the late reply
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(answer.has_value());
}

TEST(StandIn, TextTheBusCannotCarryIsNotSent) {
  StandIn standIn(QStringLiteral("late"));
  const QString withNul = QStringLiteral("// a") + QChar(0) + QStringLiteral("b");
  const QString loneSurrogate = QStringLiteral("// a") + QChar(0xD800);
  for (const QString& text : {withNul, loneSurrogate}) {
    const AutoCorrectionOutcome outcome = sendForAutoCorrection(text, 3s);
    EXPECT_FALSE(outcome.correctedText.has_value());
    EXPECT_FALSE(outcome.failure.isEmpty());
  }
}

TEST(StandIn, DestroyedContextGetsNoCallback) {
  StandIn standIn(QStringLiteral("late"));
  int calls = 0;
  {
    QObject context;
    requestAutoCorrectionAsync(QStringLiteral("x"), &context,
                               [&](std::optional<QString>) { ++calls; }, 3s);
  }
  waitUntil([] { return false; }, 2s);
  EXPECT_EQ(calls, 0);
}

// ---- The helper's own lifetime ----

TEST(Lifecycle, HelperQuitsWhenIdleAndGivesUpItsName) {
  QProcess helper;
  helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  helper.start(QStringLiteral(HELPER_PATH), {QStringLiteral("--idle-timeout-ms"), QStringLiteral("500")});
  ASSERT_TRUE(waitUntil([] { return nameIsOwned(); }));
  EXPECT_EQ(requestAutoCorrection(QStringLiteral("//x")), QStringLiteral("// x"));
  EXPECT_TRUE(helper.waitForFinished(10000));
  EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(helper.exitCode(), 0);
  EXPECT_TRUE(waitUntil([] { return !nameIsOwned(); }));
}

TEST(Lifecycle, HelperQuitsWhenItsBusGoesAway) {
  QProcess daemon;
  daemon.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--config-file=" TEST_BUS_CONFIG), QStringLiteral("--nofork"),
                QStringLiteral("--print-address=1")});
  ASSERT_TRUE(daemon.waitForReadyRead(10000));
  const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
  ASSERT_FALSE(address.isEmpty());

  QProcess helper;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
  helper.setProcessEnvironment(environment);
  helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  helper.start(QStringLiteral(HELPER_PATH));
  {
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("second-bus"));
    ASSERT_TRUE(waitUntil([&] { return nameIsOwned(bus); }));
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("second-bus"));

  daemon.kill();
  daemon.waitForFinished(10000);
  EXPECT_TRUE(helper.waitForFinished(10000)) << "the helper outlived its bus";
}

// ---- No bus at all ----

TEST(NoSessionBus, SaysSoOnStandardOutputAndReturnsAtOnce) {
  testing::internal::CaptureStdout();
  std::optional<QString> answer;
  const qint64 took = millisecondsTaken([&] { answer = requestAutoCorrection(QStringLiteral("x")); });
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(answer.has_value());
  EXPECT_LT(took, 5000);
  EXPECT_EQ(output.rfind("Failed to connect to helper: ", 0), 0u) << output;
  EXPECT_EQ(output.back(), '\n');

  QObject context;
  int calls = 0;
  testing::internal::CaptureStdout();
  requestAutoCorrectionAsync(QStringLiteral("x"), &context, [&](std::optional<QString> a) {
    EXPECT_FALSE(a.has_value());
    ++calls;
  });
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(calls, 0) << "done must not run inside the call";
  ASSERT_TRUE(waitUntil([&] { return calls > 0; }));
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace brindlewort

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
