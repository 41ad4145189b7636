#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

namespace brindlewort::testing {

// Receives the URLs handed to the desktop for one scheme while it lives, so
// that nothing really opens and a failed check leaves no stale handler.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  explicit UrlCatcher(QString scheme) : scheme_(std::move(scheme)) {
    QDesktopServices::setUrlHandler(scheme_, this, "open");
  }
  ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(scheme_); }

  QList<QUrl> urls;

 public slots:
  void open(const QUrl& url) { urls.append(url); }

 private:
  QString scheme_;
};

}  // namespace brindlewort::testing
