#include "preferences/feedback_mail.h"

#include <QUrlQuery>

namespace brindlewort {

QUrl feedbackMailUrl(const QString& versionText) {
  QUrl url;
  url.setScheme(QStringLiteral("mailto"));
  url.setPath(QString::fromLatin1(feedbackAddress));
  QUrlQuery query;
  // Fully encoded, so a "&" or "+" in the version cannot split the fields.
  auto encoded = [](const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
  };
  query.addQueryItem(QStringLiteral("subject"),
                     encoded(QString::fromLatin1(feedbackSubjectPrefix) + versionText.toLower()));
  query.addQueryItem(QStringLiteral("body"), encoded(QString::fromUtf8(feedbackBody)));
  url.setQuery(query);
  return url;
}

}  // namespace brindlewort
