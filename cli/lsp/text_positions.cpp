#include "cli/lsp/text_positions.h"

#include <algorithm>

#include "engine/scalar_decoding.h"

namespace brindlewort::cli::lsp {
namespace {

struct Step {
  std::size_t bytes = 1;
  std::size_t units = 1;
};

// The character that starts at `at`: its bytes and its units in the
// encoding. A byte that starts no well-formed sequence is a character of
// its own, so that every byte of the text has a position.
Step stepAt(std::string_view text, std::size_t at, PositionEncoding encoding) {
  std::size_t next = at;
  const char32_t scalar = nextScalar(text, next);
  if (scalar == replacementCharacter && !text.substr(at).starts_with("\xEF\xBF\xBD")) return {};
  const std::size_t bytes = next - at;
  if (encoding == PositionEncoding::utf8) return {bytes, bytes};
  return {bytes, scalar > 0xFFFF ? std::size_t{2} : std::size_t{1}};
}

// The bytes of a line's content, without its line end.
std::size_t contentEnd(std::string_view text, std::size_t lineStart) {
  std::size_t end = text.find('\n', lineStart);
  if (end == std::string_view::npos) return text.size();
  if (end > lineStart && text[end - 1] == '\r') --end;
  return end;
}

}  // namespace

std::size_t byteOffsetOf(std::string_view text, TextPosition position, PositionEncoding encoding) {
  std::size_t lineStart = 0;
  for (std::size_t line = 0; line < position.line; ++line) {
    const std::size_t feed = text.find('\n', lineStart);
    if (feed == std::string_view::npos) return text.size();
    lineStart = feed + 1;
  }
  const std::size_t end = contentEnd(text, lineStart);
  std::size_t at = lineStart;
  std::size_t units = 0;
  while (at < end) {
    const Step step = stepAt(text, at, encoding);
    if (units + step.units > position.character) break;
    units += step.units;
    at += step.bytes;
  }
  return std::min(at, end);
}

std::size_t unitsBefore(std::string_view line, std::size_t byteOffset, PositionEncoding encoding) {
  byteOffset = std::min(byteOffset, line.size());
  std::size_t units = 0;
  for (std::size_t at = 0; at < byteOffset;) {
    const Step step = stepAt(line, at, encoding);
    if (at + step.bytes > byteOffset) break;
    units += step.units;
    at += step.bytes;
  }
  return units;
}

TextPosition positionOf(std::string_view text, std::size_t byteOffset, PositionEncoding encoding) {
  byteOffset = std::min(byteOffset, text.size());
  TextPosition position;
  std::size_t lineStart = 0;
  for (std::size_t feed = text.find('\n'); feed != std::string_view::npos && feed < byteOffset;
       feed = text.find('\n', feed + 1)) {
    ++position.line;
    lineStart = feed + 1;
  }
  position.character = unitsBefore(text.substr(lineStart), byteOffset - lineStart, encoding);
  return position;
}

}  // namespace brindlewort::cli::lsp
