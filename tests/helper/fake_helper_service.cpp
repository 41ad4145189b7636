// A stand-in for brindlewort-helper that misbehaves on purpose, so the
// client's failure paths meet a real bus. Its one argument says how it
// answers: "empty" text, "silent" never, "die" exits mid-request, "late"
// answers "late:" plus the text after 1.5 s, "number" an integer,
// "every-line" the text with "!" after every line, "extra-line" the text
// with a line in front.

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
    if (mode_ == u"empty") return QString();
    if (mode_ == u"die") std::_Exit(3);
    if (mode_ == u"every-line") return text.split(u'\n').join(QStringLiteral("!\n")) + u'!';
    if (mode_ == u"extra-line") return u'\n' + text;
    message.setDelayedReply(true);
    if (mode_ == u"late")
      QTimer::singleShot(1500, this, [message, text] {
        QDBusConnection::sessionBus().send(message.createReply(QStringLiteral("late:") + text));
      });
    if (mode_ == u"number") QDBusConnection::sessionBus().send(message.createReply(QVariant::fromValue(42)));
    return QString();
  }

 private:
  QString mode_;
};

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  FakeHelper fake(QString::fromLatin1(argc == 2 ? argv[1] : ""));
  if (!bus.registerObject(QString::fromLatin1(brindlewort::helperObjectPath), &fake, QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QString::fromLatin1(brindlewort::helperServiceName))) {
    std::fprintf(stderr, "fake_helper_service: cannot take the bus name\n");
    return 1;
  }
  // Leave with the bus, so no stand-in outlives its test.
  QTimer busWatch;
  QObject::connect(&busWatch, &QTimer::timeout, &app, [&bus] {
    if (!bus.isConnected()) QCoreApplication::exit(0);
  });
  busWatch.start(200);
  return app.exec();
}

#include "fake_helper_service.moc"
