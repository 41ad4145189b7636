#pragma once

// The program's information table: "CFBundleShortVersionString" (the project
// version) and "CFBundleVersion" (the build number), generated at build time.

#include <QVariantMap>
#include <optional>

namespace brindlewort {

std::optional<QVariantMap> mainBundleInfoDictionary();

}  // namespace brindlewort
