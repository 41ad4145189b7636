#pragma once

// What every fuzz target shares: turning the fuzzer's bytes into the line
// lists the engine works on, and stopping the run loudly when an invariant
// breaks (the regression driver in the normal build relies on the abort).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort::fuzz {

// The bytes as text, unchanged: invalid UTF-8 and NUL bytes included.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Splits at every line feed, as the workbench does.
inline std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

[[noreturn]] inline void invariantBroken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
  std::abort();
}

}  // namespace brindlewort::fuzz

#define FUZZ_REQUIRE(condition) \
  ((condition) ? void() : ::brindlewort::fuzz::invariantBroken(#condition, __FILE__, __LINE__))
