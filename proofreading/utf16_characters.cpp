#include "proofreading/utf16_characters.h"

#include <unicode/brkiter.h>

#include <algorithm>
#include <climits>

#include "engine/thread_character_iterator.h"

namespace brindlewort {

Utf16CharacterCursor::Utf16CharacterCursor(const icu::UnicodeString& text)
    : text_(text), units_(text.getBuffer()), length_(units_ ? text.length() : 0) {}

std::int64_t Utf16CharacterCursor::nextBoundary() {
  const auto at = static_cast<int32_t>(boundary_);
  const char16_t unit = units_[at];
  // Two ASCII units are always two characters, except CR followed by LF;
  // only next to other text is the break iterator needed.
  if (unit < 0x80) {
    if (boundary_ + 1 == length_) return length_;
    const char16_t next = units_[at + 1];
    if (next < 0x80) return unit == u'\r' && next == u'\n' ? boundary_ + 2 : boundary_ + 1;
  }
  auto& shared = threadCharacterIterator();
  if (!shared.iterator) return boundary_ + (U16_IS_LEAD(unit) && boundary_ + 1 < length_ ? 2 : 1);
  if (shared.owner != this || !attached_) {
    shared.iterator->setText(text_);
    shared.owner = this;
    attached_ = true;
  }
  const int32_t next = shared.iterator->following(at);
  if (next == icu::BreakIterator::DONE || next <= at) return length_;
  return next;
}

void Utf16CharacterCursor::advanceTo(std::int64_t offset) {
  const std::int64_t target = std::min(offset, length_);
  while (boundary_ < target) {
    const std::int64_t next = nextBoundary();
    if (next > target) break;
    boundary_ = next;
    ++characters_;
  }
}

std::int64_t Utf16CharacterCursor::characterHolding(std::int64_t offset) {
  if (offset >= length_) {
    advanceTo(length_);
    return characters_ + (offset - length_);
  }
  advanceTo(offset);
  return characters_;
}

std::int64_t Utf16CharacterCursor::charactersCovering(std::int64_t offset) {
  const std::int64_t holding = characterHolding(offset);
  return offset < length_ && boundary_ < offset ? holding + 1 : holding;
}

icu::UnicodeString toUtf16(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) return {};
  return icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string utf8Slice(const icu::UnicodeString& text, std::int64_t start, std::int64_t length) {
  std::string out;
  const std::int64_t begin = std::clamp<std::int64_t>(start, 0, text.length());
  const std::int64_t end = std::clamp<std::int64_t>(start + length, begin, text.length());
  text.tempSubStringBetween(static_cast<int32_t>(begin), static_cast<int32_t>(end)).toUTF8String(out);
  return out;
}

}  // namespace brindlewort
