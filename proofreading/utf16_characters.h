#pragma once

// Where UTF-16 offsets (the unit of spell-checker and regular-expression
// ranges) fall among the characters (grapheme clusters) of a text, so that
// marks can be placed under whole characters.

#include <cstdint>
#include <string>
#include <string_view>

#include <unicode/unistr.h>

namespace brindlewort {

// Walks a UTF-16 text forward, one character at a time. The offsets asked
// for must not decrease from one call to the next; the walk is linear in the
// text. The text must outlive the cursor.
class Utf16CharacterCursor {
 public:
  explicit Utf16CharacterCursor(const icu::UnicodeString& text);
  Utf16CharacterCursor(const Utf16CharacterCursor&) = delete;
  Utf16CharacterCursor& operator=(const Utf16CharacterCursor&) = delete;

  // Index of the character that holds the unit at `offset`. At or past the
  // end, every further unit counts as one character.
  std::int64_t characterHolding(std::int64_t offset);

  // Number of characters needed to cover the units before `offset`: a
  // character cut by the offset counts whole.
  std::int64_t charactersCovering(std::int64_t offset);

 private:
  std::int64_t nextBoundary();
  void advanceTo(std::int64_t offset);

  const icu::UnicodeString& text_;
  const char16_t* units_;
  std::int64_t length_;
  std::int64_t boundary_ = 0;    // offset of the current character's start
  std::int64_t characters_ = 0;  // characters before boundary_
  bool attached_ = false;
};

// The text converted to UTF-16; ill-formed UTF-8 becomes U+FFFD.
icu::UnicodeString toUtf16(std::string_view text);

// The units [start, start + length) of the text as UTF-8.
std::string utf8Slice(const icu::UnicodeString& text, std::int64_t start, std::int64_t length);

}  // namespace brindlewort
