#pragma once

// Reading Unicode scalars out of UTF-8 without trusting the bytes: an
// ill-formed sequence reads as U+FFFD and still moves forward.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <unicode/utf8.h>

namespace brindlewort {

inline constexpr char32_t replacementCharacter = 0xFFFD;

// Decodes the scalar at `pos` and advances `pos` past it.
inline char32_t nextScalar(std::string_view text, std::size_t& pos) {
  const auto byte = static_cast<unsigned char>(text[pos]);
  if (byte < 0x80) {
    ++pos;
    return byte;
  }
  int32_t i = 0;
  const auto length = static_cast<int32_t>(std::min<std::size_t>(text.size() - pos, 4));
  UChar32 c;
  U8_NEXT(reinterpret_cast<const uint8_t*>(text.data() + pos), i, length, c);
  pos += static_cast<std::size_t>(i);
  return c < 0 ? replacementCharacter : static_cast<char32_t>(c);
}

// Decodes the scalar that ends just before `pos` and moves `pos` to its start.
inline char32_t previousScalar(std::string_view text, std::size_t& pos) {
  const auto byte = static_cast<unsigned char>(text[pos - 1]);
  if (byte < 0x80) {
    --pos;
    return byte;
  }
  std::size_t start = pos - 1;
  while (start > 0 && pos - start < 4 &&
         (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
    --start;
  }
  std::size_t probe = start;
  const char32_t c = nextScalar(text, probe);
  if (probe != pos) {
    // The bytes before pos are not one well-formed sequence: step one byte.
    --pos;
    return replacementCharacter;
  }
  pos = start;
  return c;
}

}  // namespace brindlewort
