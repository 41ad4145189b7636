#pragma once

// Files the program ships beside itself, found relative to the executable
// so that both the build tree and an installed copy work.

#include <QString>
#include <optional>

namespace brindlewort {

inline constexpr char userManualFileName[] = "User Manual.pdf";

// The user manual: next to the executable in the build tree, or under
// share/doc/brindlewort of the installation prefix.
std::optional<QString> findUserManual(const QString& executableDir);

// The folder of editor integrations: share/brindlewort/integrations of the
// installation prefix, or the source tree's folder when run from a build
// folder inside it.
std::optional<QString> findIntegrationsFolder(const QString& executableDir);

// The program's icon as installed under share/icons, or the source tree's
// copy when run from a build folder inside it.
std::optional<QString> findAppIconFile(const QString& executableDir);

}  // namespace brindlewort
