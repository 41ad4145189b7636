#pragma once

// Running a helper program (git) and reading what it prints.

#include <string>
#include <vector>

#include "base/result.h"

namespace brindlewort {

// Runs the program (found on PATH) with the arguments, standard input and
// error pointed at /dev/null, and returns its standard output; an error
// when it cannot be started or exits with a status other than 0.
Result<std::string> programOutput(const std::vector<std::string>& arguments);

}  // namespace brindlewort
