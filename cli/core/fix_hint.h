#pragma once

// What `--check` says on standard error when it finds something: the
// command that fixes it, so that a failing CI job or pre-commit hook tells
// the user what to run instead of leaving them to work it out.

#include <string>
#include <string_view>

#include "cli/core/text_options.h"

namespace brindlewort::cli {

// For a command that fixes in place what its --check finds: the same
// command with the options that shape the result, --in-place instead of
// --check or --diff. For standard input, which cannot be rewritten, it
// says to run without them.
std::string inPlaceFixHint(std::string_view command, const TextOptions& options);

}  // namespace brindlewort::cli
