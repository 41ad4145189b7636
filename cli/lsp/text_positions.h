#pragma once

// Positions as the editor sends them (line, character) and byte offsets into
// the UTF-8 text the server keeps. Characters count UTF-16 code units unless
// the client agreed to UTF-8; ill-formed bytes count one unit each, so that
// no input can make a conversion fail.

#include <cstddef>
#include <string_view>

namespace brindlewort::cli::lsp {

enum class PositionEncoding { utf16, utf8 };

struct TextPosition {
  std::size_t line = 0;
  std::size_t character = 0;
  friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

// The byte offset of a position in a text. A character past the end of its
// line means the line's end (before its line end), a line past the last one
// the text's end; a position inside a character means that character's
// start.
std::size_t byteOffsetOf(std::string_view text, TextPosition position, PositionEncoding encoding);

// The position of a byte offset (clamped to the text's size; an offset inside
// a character counts from that character's start).
TextPosition positionOf(std::string_view text, std::size_t byteOffset, PositionEncoding encoding);

// The units of a line's first `byteOffset` bytes.
std::size_t unitsBefore(std::string_view line, std::size_t byteOffset, PositionEncoding encoding);

}  // namespace brindlewort::cli::lsp
