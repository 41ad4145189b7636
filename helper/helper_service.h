#pragma once

// The object the helper exports on the session bus: answers
// autoCorrectString calls on worker threads, so a large text never holds up
// other clients, and reports when it has been idle long enough to quit.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <chrono>

namespace brindlewort {

class HelperService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.kestrelloom.BrindlewortHelperProtocol")
 public:
  // Serves requests arriving on `bus`; idleFor() is emitted after
  // `idleTimeout` with no request in flight.
  HelperService(const QDBusConnection& bus, std::chrono::milliseconds idleTimeout,
                QObject* parent = nullptr);
  ~HelperService() override;

  // Requests still being corrected.
  int requestsInFlight() const { return inFlight_; }

 public slots:
  // The bus method: the corrected text, answered later from a worker
  // thread; texts over the size limit get an error reply.
  QString autoCorrectString(const QString& text, const QDBusMessage& message);

 signals:
  // No request arrived or ran for the whole idle timeout.
  void idleFor();

 private:
  void finishRequest();

  QDBusConnection bus_;
  QTimer idleTimer_;
  QThreadPool workers_;
  int inFlight_ = 0;
};

}  // namespace brindlewort
