#pragma once

// Help › About Brindlewort: the version, the build, the licence and the
// program's icon.

#include <QString>
#include <QVariantMap>
#include <optional>

class QWidget;

namespace brindlewort {

// "Brindlewort 1.0.0 (build 1)", as --version prints it; the version line
// of the preferences view's rules when the table is missing or incomplete.
QString programVersionLine(const std::optional<QVariantMap>& infoDictionary);

// The box's rich text.
QString aboutText(const std::optional<QVariantMap>& infoDictionary);

void showAboutBox(QWidget* parent, const std::optional<QVariantMap>& infoDictionary);

}  // namespace brindlewort
