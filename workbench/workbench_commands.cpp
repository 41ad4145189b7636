#include "workbench/workbench_commands.h"

#include <array>

#include "workbench/samples_view_controller.h"

namespace brindlewort {

namespace {

using S = SamplesViewController;
using G = CommandGroup;

// The grammar commands do not follow editability on purpose: their items
// stay enabled and simply do nothing on a read-only sample.
constexpr std::array<WorkbenchCommand, 10> commands{{
    {"showOriginal:", "Show Original", "Ctrl+Shift+O", G::loading, false, &S::showOriginal},
    {"wrap:", "Wrap Comments", "Ctrl+Shift+W", G::wrapping, true, &S::wrap},
    {"wrapSelectedComments:", "Wrap Selected Comments", "Ctrl+Alt+W", G::wrapping, true,
     &S::wrapSelectedComments},
    {"unwrap:", "Unwrap Comments", "Ctrl+Shift+U", G::wrapping, true, &S::unwrap},
    {"unwrapSelectedComments:", "Unwrap Selected Comments", "Ctrl+Alt+U", G::wrapping, true,
     &S::unwrapSelectedComments},
    {"checkAllSpelling:", "Check Spelling", "Ctrl+Shift+S", G::spelling, true, &S::checkAllSpelling},
    {"checkSpellingInSelection:", "Check Spelling in Selection", "Ctrl+Alt+S", G::spelling, true,
     &S::checkSpellingInSelection},
    {"checkAllGrammar:", "Check Grammar", "Ctrl+Shift+G", G::grammar, false, &S::checkAllGrammar},
    {"checkGrammarInSelection:", "Check Grammar in Selection", "Ctrl+Alt+G", G::grammar, false,
     &S::checkGrammarInSelection},
    {"runSwiftLint:", "Lint with Helper", "Ctrl+Shift+L", G::lint, true, &S::runSwiftLint},
}};

}  // namespace

std::span<const WorkbenchCommand> workbenchCommands() { return commands; }

const WorkbenchCommand* findWorkbenchCommand(const QString& selector) {
  for (const WorkbenchCommand& command : commands) {
    if (selector == QLatin1String(command.selector)) return &command;
  }
  return nullptr;
}

}  // namespace brindlewort
