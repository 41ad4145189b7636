#include "helper/client/auto_correction_client.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <climits>
#include <cstdio>

#include "helper/helper_protocol.h"

namespace brindlewort {

namespace {

int timeoutMilliseconds(std::chrono::milliseconds bound) {
  return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(bound.count(), 1, INT_MAX));
}

// The bus carries NUL-terminated UTF-8: a NUL would cut the text short and
// a lone surrogate would turn into a replacement character, and the damaged
// text would come back as if it were a correction. Such texts are not sent.
std::optional<QString> unsendableReason(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isNull())
      return QStringLiteral("the text contains a NUL character, which the bus cannot carry");
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i;
      continue;
    }
    if (c.isSurrogate())
      return QStringLiteral("the text contains an unpaired surrogate, which is not valid text");
  }
  // A message larger than the bus allows would cost the whole process its
  // bus connection, so an oversized text never leaves.
  if (exceedsHelperTextLimit(text))
    return QStringLiteral("the text is larger than the helper accepts (16 MiB)");
  return std::nullopt;
}

QString describe(const QDBusConnection& bus) {
  const QDBusError error = bus.lastError();
  return QStringLiteral("<session bus connection %1: not connected; %2: %3>")
      .arg(bus.name(), error.name(), error.message());
}

QDBusMessage correctionCall(const QString& text) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(helperServiceName), QString::fromLatin1(helperObjectPath),
      QString::fromLatin1(helperInterfaceName), QString::fromLatin1(helperMethodName));
  call << text;
  return call;
}

Error failure(const QString& message) { return {message.toStdString()}; }

// A reply that never came: the helper either ran out of time or went away
// mid-request (killed, crashed), and the user fixes the two differently.
// The bus says "disconnected" for the second; a no-reply well before the
// bound passed means the same.
bool helperStopped(const QDBusMessage& reply, bool beforeBound) {
  return reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") &&
         (beforeBound || reply.errorMessage().contains(QLatin1String("disconnected")));
}

Result<QString> outcomeOf(const QDBusMessage& reply, bool beforeBound = false) {
  if (reply.type() == QDBusMessage::ReplyMessage) {
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.size() != 1 || arguments.front().metaType().id() != QMetaType::QString)
      return failure(QStringLiteral("the helper answered with something other than text"));
    QString corrected = arguments.front().toString();
    if (corrected.isEmpty()) return failure(QStringLiteral("the helper answered with an empty text"));
    return corrected;
  }
  const QString name = reply.errorName();
  if (helperStopped(reply, beforeBound))
    return failure(QStringLiteral("the helper stopped before answering (%1)").arg(reply.errorMessage()));
  if (name == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
      name == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
    return failure(QStringLiteral("the helper did not answer in time (%1)").arg(reply.errorMessage()));
  if (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
    return failure(
        QStringLiteral("the helper service is not installed (%1)").arg(reply.errorMessage()));
  return failure(QStringLiteral("the helper failed: %1: %2").arg(name, reply.errorMessage()));
}

// The session bus, or the line that says it cannot be reached.
Result<QDBusConnection> sessionBus() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return failure(QStringLiteral("Failed to connect to helper: ") + describe(bus));
  return bus;
}

// One blocking call on a connected bus.
Result<QString> correctOn(QDBusConnection& bus, const QString& text, std::chrono::milliseconds bound) {
  if (const auto reason = unsendableReason(text)) return failure(*reason);
  // The bus keeps the deadline: it counts from the hand-over of the call,
  // and a reply arriving after it is discarded before it can reach us.
  QElapsedTimer clock;
  clock.start();
  const QDBusMessage reply = bus.call(correctionCall(text), QDBus::Block, timeoutMilliseconds(bound));
  return outcomeOf(reply, clock.elapsed() < timeoutMilliseconds(bound) * 9 / 10);
}

void reportUnreachableBus(const std::string& message) {
  std::fputs(QString::fromStdString(message).toLocal8Bit().constData(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

Result<QString> sendForAutoCorrection(const QString& text, std::chrono::milliseconds bound) {
  Result<QDBusConnection> bus = sessionBus();
  if (!bus) return Error{bus.error()};
  return correctOn(*bus, text, bound);
}

std::optional<QString> requestAutoCorrection(const QString& text,
                                             std::chrono::milliseconds bound) {
  Result<QDBusConnection> bus = sessionBus();
  if (!bus) {
    reportUnreachableBus(bus.error());
    return std::nullopt;
  }
  Result<QString> corrected = correctOn(*bus, text, bound);
  if (!corrected) return std::nullopt;
  return std::move(*corrected);
}

void requestAutoCorrectionAsync(const QString& text, QObject* context,
                                std::function<void(std::optional<QString>)> done,
                                std::chrono::milliseconds bound) {
  if (!context) context = QCoreApplication::instance();
  const auto failLater = [context, &done] {
    QMetaObject::invokeMethod(
        context, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
  };
  Result<QDBusConnection> bus = sessionBus();
  if (!bus) {
    reportUnreachableBus(bus.error());
    failLater();
    return;
  }
  if (unsendableReason(text)) {
    failLater();
    return;
  }
  auto* watcher = new QDBusPendingCallWatcher(
      bus->asyncCall(correctionCall(text), timeoutMilliseconds(bound)));
  if (watcher->thread() != context->thread()) watcher->moveToThread(context->thread());
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                   [watcher, done = std::move(done)] {
                     Result<QString> corrected = outcomeOf(watcher->reply());
                     done(corrected ? std::optional(std::move(*corrected)) : std::nullopt);
                     watcher->deleteLater();
                   });
  // Without its context the answer has nowhere to go.
  QObject::connect(context, &QObject::destroyed, watcher, &QObject::deleteLater);
}

}  // namespace brindlewort
