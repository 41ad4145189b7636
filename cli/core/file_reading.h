#pragma once

#include <string>

#include "base/result.h"

namespace brindlewort::cli {

// The whole content of the file, or why it could not be read (such as "No
// such file or directory").
Result<std::string> readWholeFile(const std::string& path);

// The whole of standard input, or why it could not be read.
Result<std::string> readStandardInput();

}  // namespace brindlewort::cli
