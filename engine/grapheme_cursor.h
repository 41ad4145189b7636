#pragma once

// Walks the characters (extended grapheme clusters) of UTF-8 text. Most
// source text is ASCII, where every byte but a CR-LF pair is a character, so
// ICU's break iterator is only consulted next to non-ASCII bytes.

#include <cstddef>
#include <string_view>

namespace brindlewort {

class GraphemeCursor {
 public:
  explicit GraphemeCursor(std::string_view text);
  ~GraphemeCursor();
  GraphemeCursor(const GraphemeCursor&) = delete;
  GraphemeCursor& operator=(const GraphemeCursor&) = delete;

  // Byte offset just after the character that starts at `pos` (< size).
  std::size_t characterEnd(std::size_t pos);
  // Byte offset of the start of the character holding the byte at `pos`.
  std::size_t characterStart(std::size_t pos);

  // Number of characters in the text, in one forward walk.
  static std::size_t countCharacters(std::string_view text);

 private:
  void attachIcu();

  std::string_view text_;
  bool attached_ = false;
};

}  // namespace brindlewort
