#include "helper/helper_service.h"

#include <QMetaObject>
#include <exception>
#include <string>
#include <string_view>

#include "helper/auto_correction.h"
#include "helper/helper_protocol.h"

namespace brindlewort {

namespace {

QDBusMessage correctionReply(const QDBusMessage& request, const QString& text) {
  if (exceedsHelperTextLimit(text))
    return request.createErrorReply(QString::fromLatin1(helperTextTooLargeError),
                                    QStringLiteral("The text is larger than 16 MiB."));
  const QByteArray utf8 = text.toUtf8();
  const std::string corrected =
      autoCorrectString(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
  return request.createReply(
      QString::fromUtf8(corrected.data(), static_cast<qsizetype>(corrected.size())));
}

}  // namespace

HelperService::HelperService(const QDBusConnection& bus, std::chrono::milliseconds idleTimeout,
                             QObject* parent)
    : QObject(parent), bus_(bus) {
  idleTimer_.setSingleShot(true);
  idleTimer_.setInterval(idleTimeout);
  connect(&idleTimer_, &QTimer::timeout, this, [this] {
    if (inFlight_ == 0) emit idleFor();
  });
  idleTimer_.start();
}

HelperService::~HelperService() { workers_.waitForDone(); }

QString HelperService::autoCorrectString(const QString& text, const QDBusMessage& message) {
  message.setDelayedReply(true);
  ++inFlight_;
  idleTimer_.stop();
  workers_.start([this, bus = bus_, message, text]() mutable {
    QDBusMessage reply;
    try {
      reply = correctionReply(message, text);
    } catch (const std::exception& error) {
      // Out of memory on a huge text: the caller still gets its one answer.
      reply = message.createErrorReply(QDBusError::NoMemory, QString::fromUtf8(error.what()));
    }
    bus.send(reply);
    QMetaObject::invokeMethod(this, &HelperService::finishRequest, Qt::QueuedConnection);
  });
  return {};
}

void HelperService::finishRequest() {
  --inFlight_;
  if (inFlight_ == 0) idleTimer_.start();
}

}  // namespace brindlewort
