#include "workbench/workbench_commands.h"

#include <array>

#include "workbench/samples_view_controller.h"

namespace brindlewort {

namespace {

using S = SamplesViewController;
using G = CommandGroup;

// The grammar commands do not follow editability on purpose: their items
// stay enabled and simply do nothing on a read-only sample.
//
// Ctrl+Shift works on the whole text and Ctrl+Alt with the same letter on
// the selected lines. The letters avoid Qt's standard keys on every desktop
// (Ctrl+Shift+S is Save As and Ctrl+Shift+G Find Previous on GNOME) and the
// desktop-wide Ctrl+Shift+U (Unicode entry), Ctrl+Alt+T and Ctrl+Alt+L.
// Titles carry the menu mnemonics; the buttons show them without.
constexpr std::array<WorkbenchCommand, 11> commands{{
    {"showOriginal:", "Show &Original", "Ctrl+Shift+O", G::loading, false, &S::showOriginal},
    {"wrap:", "&Wrap Comments", "Ctrl+Shift+W", G::wrapping, true, &S::wrap},
    {"wrapSelectedComments:", "Wrap &Selected Comments", "Ctrl+Alt+W", G::wrapping, true,
     &S::wrapSelectedComments},
    {"unwrap:", "&Unwrap Comments", "Ctrl+Shift+J", G::wrapping, true, &S::unwrap},
    {"unwrapSelectedComments:", "Unwrap Selected Co&mments", "Ctrl+Alt+J", G::wrapping, true,
     &S::unwrapSelectedComments},
    {"checkAllSpelling:", "Check S&pelling", "Ctrl+Shift+K", G::spelling, true, &S::checkAllSpelling},
    {"checkSpellingInSelection:", "Check Spelling i&n Selection", "Ctrl+Alt+K", G::spelling, true,
     &S::checkSpellingInSelection},
    {"checkAllGrammar:", "Check &Grammar", "Ctrl+Shift+R", G::grammar, false, &S::checkAllGrammar},
    {"checkGrammarInSelection:", "Check Grammar &in Selection", "Ctrl+Alt+R", G::grammar, false,
     &S::checkGrammarInSelection},
    {"removeMarkers:", "&Remove Marker Lines", "Ctrl+Shift+M", G::markers, true, &S::removeMarkers},
    {"runSwiftLint:", "&Lint with Helper", "Ctrl+Shift+L", G::lint, true, &S::runSwiftLint},
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
