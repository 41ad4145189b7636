#pragma once

// Writing to standard output and standard error, remembering write failures
// so that a full disk or a closed pipe is reported instead of lost.

#include <string_view>

#include "base/result.h"

namespace brindlewort::cli {

// Writes text to standard output; false when it could not be written.
bool printOutput(std::string_view text);

// Writes "brindle: " and the message, then a line feed, to standard error.
void printError(std::string_view message);

// Reports a usage error and where to find help; returns exitFailure.
// `command` is the command name, or empty for brindle itself.
int usageError(std::string_view message, std::string_view command);

// Flushes standard output; fails when anything written was lost.
Result<void> finishOutput();

// finishOutput as a command's last step: exitSuccess, or exitFailure after
// saying on standard error that the output was lost (a full disk, a closed
// pipe), which would otherwise pass for success.
int finishOutputStatus();

}  // namespace brindlewort::cli
