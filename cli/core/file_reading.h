#pragma once

#include <string>
#include <variant>

namespace brindlewort::cli {

struct ReadFailure {
  std::string reason;  // such as "No such file or directory"
};

// The whole content of the file, or why it could not be read.
std::variant<std::string, ReadFailure> readWholeFile(const std::string& path);

// The whole of standard input, or why it could not be read.
std::variant<std::string, ReadFailure> readStandardInput();

}  // namespace brindlewort::cli
