#pragma once

// brindle wrap and unwrap on source files: only comment paragraphs move,
// found by the lexer of the file's language, at the width and tab stops the
// project's .editorconfig asks for unless the options say otherwise.

#include "cli/core/text_command.h"
#include "cli/core/text_options.h"
#include "reflow/paragraph_reflow.h"

namespace brindlewort::cli {

// The work of wrap (wrap or fill) and unwrap on source files: the
// transform, safe to call from several threads at once, and the closing
// note that counts the files skipped for their language.
TextWork sourceReflowWork(const TextOptions& options, ReflowMode mode);

}  // namespace brindlewort::cli
