#include "utf8_validation.h"

#include "characters.h"

#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>

namespace brindlewort {

std::optional<std::size_t> firstInvalidUtf8Offset(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int64_t>(text.size());
  int64_t i = 0;
  while (i < length) {
    // ASCII is nearly all of any source file: skip it in one scan.
    i = static_cast<int64_t>(asciiRunEnd(text, static_cast<std::size_t>(i)));
    if (i >= length) break;
    const int64_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return static_cast<std::size_t>(start);
  }
  return std::nullopt;
}

}  // namespace brindlewort
