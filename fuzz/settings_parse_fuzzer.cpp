// The strict parse of the stored maximum comment length, against a plain
// reference: one optional sign, ASCII digits only, fitting in 64 bits.
// Also checks the length a stored text stands for.

#include <QString>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/comment_length.h"
#include "fuzz_support.h"
#include "settings/max_comment_length_parsing.h"

namespace {

std::optional<std::int64_t> referenceParse(const QString& text) {
  // Only ASCII can be accepted; anything else (including a character that
  // merely looks like a digit) is not a number.
  std::string ascii;
  for (const QChar c : text) {
    if (c.unicode() > 0x7f) return std::nullopt;
    ascii.push_back(static_cast<char>(c.unicode()));
  }
  std::size_t digitsFrom = 0;
  if (!ascii.empty() && (ascii[0] == '+' || ascii[0] == '-')) digitsFrom = 1;
  if (digitsFrom == ascii.size()) return std::nullopt;
  for (std::size_t i = digitsFrom; i < ascii.size(); ++i) {
    if (ascii[i] < '0' || ascii[i] > '9') return std::nullopt;
  }
  // from_chars takes a minus sign but not a plus sign.
  const char* first = ascii.data() + (ascii[0] == '+' ? 1 : 0);
  const char* last = ascii.data() + ascii.size();
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brindlewort;
  const std::string_view bytes = fuzz::asText(data, size);
  const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));

  const std::optional<std::int64_t> parsed = parseStrictInteger(text);
  FUZZ_REQUIRE(parsed == referenceParse(text));

  const std::int64_t length = maxCommentLengthFromStoredText(text);
  if (!parsed) {
    FUZZ_REQUIRE(length == defaultMaxCommentLength);
  } else if (*parsed == 0) {
    FUZZ_REQUIRE(length == noCommentLengthLimit);
  } else {
    FUZZ_REQUIRE(length == *parsed);
  }
  return 0;
}
