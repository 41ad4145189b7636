// brindlewort-helper: the auto-correction service, started by the session
// bus on demand. It quits after a minute without requests and as soon as
// its bus goes away, so it never outlives the session that started it.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "helper/helper_protocol.h"
#include "helper/helper_service.h"

namespace {

void fail(const QString& message) {
  std::fprintf(stderr, "brindlewort-helper: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("brindlewort-helper"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Auto-correction service for Brindlewort."));
  parser.addHelpOption();
  const QCommandLineOption idleOption(QStringLiteral("idle-timeout-ms"),
                                      QStringLiteral("Quit after this many idle milliseconds."),
                                      QStringLiteral("ms"), QStringLiteral("60000"));
  parser.addOption(idleOption);
  parser.process(app);
  bool validIdle = false;
  const int idleMs = parser.value(idleOption).toInt(&validIdle);
  if (!validIdle || idleMs <= 0) {
    fail(QStringLiteral("--idle-timeout-ms needs a positive number"));
    return 2;
  }

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    fail(QStringLiteral("cannot connect to the session bus: ") + bus.lastError().message());
    return 1;
  }

  brindlewort::HelperService service(bus, std::chrono::milliseconds(idleMs));
  if (!bus.registerObject(QString::fromLatin1(brindlewort::helperObjectPath), &service,
                          QDBusConnection::ExportAllSlots)) {
    fail(QStringLiteral("cannot export the service object: ") + bus.lastError().message());
    return 1;
  }
  if (!bus.registerService(QString::fromLatin1(brindlewort::helperServiceName))) {
    fail(QStringLiteral("the bus name is taken or refused: ") + bus.lastError().message());
    return 1;
  }

  // A bus that disappears takes no message with it, so polling the
  // connection is the one signal that always arrives.
  QTimer busWatch;
  QObject::connect(&busWatch, &QTimer::timeout, &app, [&bus] {
    if (!bus.isConnected()) QCoreApplication::exit(0);
  });
  busWatch.start(std::chrono::milliseconds(200));

  // Idle: give up the name first, so the bus starts a fresh helper for the
  // next request, then finish whatever had already reached us.
  bool closing = false;
  QObject::connect(&service, &brindlewort::HelperService::idleFor, &app, [&] {
    if (closing) {
      QCoreApplication::exit(0);
      return;
    }
    closing = true;
    bus.unregisterService(QString::fromLatin1(brindlewort::helperServiceName));
    QTimer::singleShot(std::chrono::milliseconds(100), &app, [&service] {
      if (service.requestsInFlight() == 0) QCoreApplication::exit(0);
    });
  });

  return app.exec();
}
