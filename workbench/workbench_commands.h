#pragma once

// The workbench's commands, each listed once with everything the program
// needs to know about it: the selector that names it, the menu title and
// shortcut, the Comments menu section it sits in, and whether it is off on
// a read-only sample. The controller's actions, their validation and the
// application's Comments menu are all built from this one list, so a new
// command cannot be half added.

#include <QString>
#include <span>

namespace brindlewort {

class SamplesViewController;

// The sections of the Comments menu, in menu order.
enum class CommandGroup { loading, wrapping, spelling, grammar, markers, lint };

struct WorkbenchCommand {
  const char* selector;  // the action's object name, such as "wrap:"
  const char* title;     // with its menu mnemonic, such as "&Wrap Comments"
  const char* shortcut;  // as typed in a key sequence, such as "Ctrl+Shift+W"
  CommandGroup group;
  bool followsEditability;  // disabled while the sample is read-only
  void (SamplesViewController::*slot)();
};

// Every command, in menu order.
std::span<const WorkbenchCommand> workbenchCommands();

// The command named by `selector`; nullptr when there is none.
const WorkbenchCommand* findWorkbenchCommand(const QString& selector);

}  // namespace brindlewort
