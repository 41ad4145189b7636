// Wrapping and unwrapping arbitrary text: never a crash, valid UTF-8 in
// gives valid UTF-8 out (a line is never broken inside a character), and
// the bounded whole-text form agrees with the exact one.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/comment_length.h"
#include "engine/rewrap.h"
#include "engine/utf8_validation.h"
#include "fuzz_support.h"

namespace {

// The first byte picks the maximum length: small ones break nearly every
// word, 255 is "no limit" (unwrapping), and 240 to 254 are the negative
// lengths that a hand-edited settings file can hold.
std::int64_t maxLengthFrom(std::uint8_t byte) {
  if (byte == 255) return brindlewort::noCommentLengthLimit;
  if (byte >= 240) return static_cast<std::int64_t>(byte) - 256;
  return byte;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brindlewort;
  if (size == 0) return 0;
  const std::int64_t maxLength = maxLengthFrom(data[0]);
  const std::string_view text = fuzz::asText(data + 1, size - 1);
  const std::vector<std::string> lines = splitLines(text);

  // brindle refuses a text whose result would pass 16 times the input plus
  // 1 MiB, and the exact result of such a text (a long hanging indent over
  // many words) grows with the square of the input, which long inputs
  // would turn into out-of-memory reports. Below the bound, the bounded
  // form must give the exact result.
  const std::optional<std::string> bounded = rewrapTextWithin(text, maxLength, 16 * text.size() + (1u << 20));
  if (!bounded) return 0;
  const std::vector<std::string> wrapped = rewrapLines(lines, maxLength);
  FUZZ_REQUIRE(joinLines(wrapped) == *bounded);
  if (!firstInvalidUtf8Offset(text)) {
    for (const std::string& line : wrapped) FUZZ_REQUIRE(!firstInvalidUtf8Offset(line));
  }
  return 0;
}
