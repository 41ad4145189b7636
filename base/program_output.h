#pragma once

// Running a helper program (git) and reading what it prints.

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace brindlewort {

// How a finished program ended and what it printed.
struct ProgramRun {
  int status = -1;  // the exit status; -1 when a signal ended it
  std::string output;
  std::string errors;  // the start of its standard error
};

// Runs the program (found on PATH) with the arguments, standard input
// pointed at /dev/null, and the environment given as NAME=value entries.
// An error only when it cannot be started.
Result<ProgramRun> runProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment);

// This process's environment without the variables whose names start with
// `prefix`.
std::vector<std::string> environmentWithout(std::string_view prefix);

}  // namespace brindlewort
