#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace brindlewort {

// Byte offset of the first ill-formed UTF-8 sequence, or absent when the
// whole text is valid UTF-8.
std::optional<std::size_t> firstInvalidUtf8Offset(std::string_view text);

}  // namespace brindlewort
