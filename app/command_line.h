#pragma once

// The two options every packaged program answers, --help and --version,
// handled before the application object exists so that they need no
// display. Every other argument is left to Qt.

#include <QString>
#include <QStringList>
#include <optional>

namespace brindlewort {

struct CommandLineAnswer {
  QString text;  // what to print on standard output
  int exitCode = 0;
};

// The answer to --help or --version; nothing when the window should open.
std::optional<CommandLineAnswer> answerInformationalOptions(const QStringList& arguments,
                                                            const QString& versionLine);

}  // namespace brindlewort
