#include <unistd.h>

#include "cli/commands/command_table.h"
#include "cli/core/messages.h"
#include "cli/lsp/server_loop.h"

namespace brindlewort::cli {
namespace {

constexpr char help[] =
    "Usage: brindle lsp\n"
    "\n"
    "Serves editors over the Language Server Protocol on standard input and\n"
    "output: spelling and passive-voice findings in line comments as\n"
    "diagnostics (the same as spell --check and grammar --check), quick fixes\n"
    "with suggestions and \"Add to project words\", the code actions \"Wrap\n"
    "comment paragraph\", \"Unwrap comment paragraph\" and \"Wrap comments in\n"
    "file\", and range formatting, all by the same re-flow as wrap --fill.\n"
    "The width is the editor's \"width\" setting, else max_line_length from\n"
    ".editorconfig, else the shared setting. Logs go to standard error.\n";

int runLsp(std::span<const std::string> args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      printOutput(help);
      return finishOutputStatus();
    }
    // Editors pass --stdio to every server they start; it is what this
    // one does anyway.
    if (arg == "--stdio") continue;
    return usageError("unknown argument " + arg, "lsp");
  }
  return lsp::runLanguageServer(STDIN_FILENO, STDOUT_FILENO);
}

}  // namespace

Command lspCommand() {
  return {"lsp", "serve editors as a language server on standard input and output", runLsp};
}

}  // namespace brindlewort::cli
