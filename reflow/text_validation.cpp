#include "reflow/text_validation.h"

#include <cstring>
#include <optional>
#include <string>

#include "engine/utf8_validation.h"

namespace brindlewort {

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

Result<void> checkLineEnds(std::string_view text) {
  for (std::size_t at = text.find('\r'); at != std::string_view::npos; at = text.find('\r', at + 1)) {
    if (at + 1 == text.size() || text[at + 1] != '\n') {
      return Error{"has a carriage return without a line feed (at offset " + std::to_string(at) +
                   "); only LF and CR-LF line ends are read"};
    }
  }
  return {};
}

}  // namespace brindlewort
