#include "cli/core/text_validation.h"

#include <cstring>
#include <optional>
#include <string>

#include "engine/utf8_validation.h"

namespace brindlewort::cli {

Result<void> checkDecodable(std::string_view text) {
  if (std::optional<std::size_t> offset = firstInvalidUtf8Offset(text)) {
    return Error{"not valid UTF-8 (first bad byte at offset " + std::to_string(*offset) + ")"};
  }
  // A NUL byte means a binary file: its "lines" are not source text.
  if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
    auto offset = static_cast<std::size_t>(static_cast<const char*>(nul) - text.data());
    return Error{"holds a NUL byte (at offset " + std::to_string(offset) + ")"};
  }
  return {};
}

}  // namespace brindlewort::cli
