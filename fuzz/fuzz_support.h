#pragma once

// What every fuzz target shares: the fuzzer's bytes as text, and stopping the run loudly when an invariant
// breaks (the regression driver in the normal build relies on the abort).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace brindlewort::fuzz {

// The bytes as text, unchanged: invalid UTF-8 and NUL bytes included.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

[[noreturn]] inline void invariantBroken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
  std::abort();
}

}  // namespace brindlewort::fuzz

#define FUZZ_REQUIRE(condition) \
  ((condition) ? void() : ::brindlewort::fuzz::invariantBroken(#condition, __FILE__, __LINE__))
