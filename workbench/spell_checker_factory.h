#pragma once

// The spell checker the workbench uses: the desktop's spell-checking broker
// when it is available, otherwise one that finds nothing, so a machine
// without dictionaries still runs every command.

#include <memory>

#include "proofreading/spell_checker.h"

namespace brindlewort {

std::shared_ptr<const SpellChecker> makeSystemSpellChecker();

}  // namespace brindlewort
