#include <QString>
#include <string>

#include "cli/core/command.h"
#include "cli/commands/command_table.h"
#include "cli/core/default_width.h"
#include "cli/core/messages.h"
#include "cli/core/option_table.h"
#include "cli/core/text_options.h"
#include "engine/comment_length.h"
#include "settings/shared_settings.h"

namespace brindlewort::cli {
namespace {

constexpr std::string_view configHelp =
    "Usage: brindle config\n"
    "       brindle config max-comment-length N|none|reset\n"
    "\n"
    "Shows or changes the maximum comment length that the app, brindle and\n"
    "their companions share. brindle wrap uses it when no --width is given.\n"
    "\n"
    "  N      a whole number of columns; 0 means no limit\n"
    "  none   no limit: comment lines are never broken\n"
    "  reset  back to the default of 80\n";

std::string lengthText(std::int64_t length) {
  return length == noCommentLengthLimit ? "none" : std::to_string(length);
}

int showSettings() {
  SharedSettings& settings = SharedSettings::shared();
  printOutput("max-comment-length: " + lengthText(defaultWidth()) + "\n" +
              "file: " + settings.filePath().toStdString() + "\n");
  return finishOutputStatus();
}

int changeLength(const std::string& value) {
  SharedSettings& settings = SharedSettings::shared();
  Result<void> saved;
  if (value == "reset") {
    saved = settings.resetMaxCommentLength();
  } else {
    const std::optional<std::int64_t> length =
        value == "none" ? std::optional(noCommentLengthLimit) : parseWidth(value);
    if (!length)
      return usageError("invalid length '" + value + "': expected a whole number, none or reset",
                        "config");
    saved = settings.setMaxCommentLength(*length);
  }
  if (!saved) {
    printError("could not save the setting in " + settings.filePath().toStdString() + ": " +
               saved.error());
    return exitFailure;
  }
  return showSettings();
}

int runConfig(std::span<const std::string> args) {
  // Its only option, and only on its own: anything else is a setting.
  if (args.size() == 1 && findOption(args[0], "config") != nullptr) {
    printOutput(configHelp);
    return finishOutputStatus();
  }
  if (args.empty()) return showSettings();
  if (args.size() == 2 && args[0] == "max-comment-length") return changeLength(args[1]);
  if (args[0] != "max-comment-length") return usageError("unknown setting '" + args[0] + "'", "config");
  return usageError("expected: max-comment-length N|none|reset", "config");
}

}  // namespace

Command configCommand() {
  return {"config", "show or change the shared maximum comment length", runConfig};
}

}  // namespace brindlewort::cli
