#include "app/command_line.h"

#include <QCommandLineParser>

namespace brindlewort {

std::optional<CommandLineAnswer> answerInformationalOptions(const QStringList& arguments,
                                                            const QString& versionLine) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Brindlewort re-flows and proofreads the // line comments of sample code in a window.\n"
                     "The maximum comment length is shared with brindle and the editor integrations."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  // Qt's own options (-platform, -style, ...) are not ours to reject: on an
  // unknown option the window opens and Qt reads what it knows.
  if (!parser.parse(arguments)) return std::nullopt;
  if (parser.isSet(help)) return CommandLineAnswer{parser.helpText(), 0};
  if (parser.isSet(QStringLiteral("help-all"))) {
    return CommandLineAnswer{parser.helpText() + QStringLiteral("\nQt's own options, such as -platform and -style, "
                                                                "are accepted too; see brindlewort(1).\n"),
                             0};
  }
  if (parser.isSet(version)) return CommandLineAnswer{versionLine + u'\n', 0};
  return std::nullopt;
}

}  // namespace brindlewort
