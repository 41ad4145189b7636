#pragma once

// The spell checker the workbench uses: the desktop's spell-checking broker,
// or why there is none, so that the Spelling commands can say so instead of
// looking like a clean check.

#include <memory>

#include "base/result.h"
#include "proofreading/spell_checker.h"

namespace brindlewort {

// The user's dictionary; an error naming the languages tried when none
// loads. Also routes proofreading's informational lines ("Found N spelling
// errors in text") to Qt logging.
Result<std::shared_ptr<const SpellChecker>> makeSystemSpellChecker();

}  // namespace brindlewort
