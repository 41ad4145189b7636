#pragma once

// The feedback mail: one recipient, a subject naming the version, a short
// opening line as the body. Opened in the user's mail program; nothing is
// sent without the user.

#include <QString>
#include <QUrl>

namespace brindlewort {

inline constexpr char feedbackAddress[] = "feedback@kestrelloom.com";
inline constexpr char feedbackSubjectPrefix[] = "Brindlewort feedback, ";
inline constexpr char feedbackBody[] = "Hi, I've got some feedback about Brindlewort...";

// A mailto: URL with the recipient, the subject (prefix plus the lower-cased
// version text) and the body.
QUrl feedbackMailUrl(const QString& versionText);

}  // namespace brindlewort
