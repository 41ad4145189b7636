#include "utf8_validation.h"

#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>

namespace brindlewort {

std::optional<std::size_t> firstInvalidUtf8Offset(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int64_t>(text.size());
  int64_t i = 0;
  while (i < length) {
    // Skip ASCII eight bytes at a time; it is nearly all of any source file.
    if (i + 8 <= length) {
      std::uint64_t word;
      std::memcpy(&word, bytes + i, 8);
      if ((word & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    if (bytes[i] < 0x80) {
      ++i;
      continue;
    }
    const int64_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return static_cast<std::size_t>(start);
  }
  return std::nullopt;
}

}  // namespace brindlewort
