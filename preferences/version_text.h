#pragma once

// The version line of the preferences view, built from the program's
// information table ("CFBundleShortVersionString", "CFBundleVersion").

#include <QString>
#include <QVariantMap>
#include <optional>

namespace brindlewort {

// "Version: 1.2 (34)"; "???" for a missing build number, "Version not found"
// without a short version, "Unknown" without any table.
QString versionString(const std::optional<QVariantMap>& infoDictionary);

}  // namespace brindlewort
