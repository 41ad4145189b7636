// A stand-in for brindlewort-helper that misbehaves on purpose, so the
// client's failure paths meet a real bus: it owns the same name and answers
// autoCorrectString in the way its one argument says.
//   empty   answers with an empty text
//   silent  never answers
//   die     exits while the request is open
//   late    answers "late:" plus the text after 1.5 seconds
//   number  answers with an integer instead of a text

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "helper/helper_protocol.h"

class FakeHelper : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.kestrelloom.BrindlewortHelperProtocol")
 public:
  explicit FakeHelper(QString mode) : mode_(std::move(mode)) {}

 public slots:
  QString autoCorrectString(const QString& text, const QDBusMessage& message) {
    if (mode_ == QLatin1String("empty")) return QString();
    if (mode_ == QLatin1String("die")) std::_Exit(3);
    message.setDelayedReply(true);
    if (mode_ == QLatin1String("late")) {
      QTimer::singleShot(1500, this, [message, text] {
        QDBusConnection::sessionBus().send(message.createReply(QStringLiteral("late:") + text));
      });
    } else if (mode_ == QLatin1String("number")) {
      QDBusConnection::sessionBus().send(message.createReply(QVariant::fromValue(42)));
    }
    // "silent": the delayed reply is never sent.
    return QString();
  }

 private:
  QString mode_;
};

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: fake_helper_service empty|silent|die|late|number\n");
    return 2;
  }
  QDBusConnection bus = QDBusConnection::sessionBus();
  FakeHelper fake(QString::fromLatin1(argv[1]));
  if (!bus.registerObject(QString::fromLatin1(brindlewort::helperObjectPath), &fake,
                          QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QString::fromLatin1(brindlewort::helperServiceName))) {
    std::fprintf(stderr, "fake_helper_service: cannot take the bus name\n");
    return 1;
  }
  QTimer busWatch;
  QObject::connect(&busWatch, &QTimer::timeout, &app, [&bus] {
    if (!bus.isConnected()) QCoreApplication::exit(0);
  });
  busWatch.start(200);
  return app.exec();
}

#include "fake_helper_service.moc"
