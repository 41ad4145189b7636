#pragma once

// Counting the line feeds of a large text, eight bytes at a time: a file
// cut into pieces for threads is counted through once, on one thread.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace brindlewort {

inline std::size_t countLineFeeds(std::string_view text) {
  constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
  constexpr std::uint64_t feeds = 0x0A0A0A0A0A0A0A0AULL;
  std::size_t count = 0;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    const std::uint64_t x = word ^ feeds;  // a zero byte where a line feed stood
    // The high bit of each zero byte, and of no other, summed by a
    // multiplication into the top byte (no popcount instruction is assumed).
    const std::uint64_t zeros = ~(((x & low7) + low7) | x | low7);
    count += static_cast<std::size_t>(((zeros >> 7) * 0x0101010101010101ULL) >> 56);
  }
  for (; at < text.size(); ++at) count += text[at] == '\n' ? 1 : 0;
  return count;
}

}  // namespace brindlewort
