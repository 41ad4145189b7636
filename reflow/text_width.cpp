#include "reflow/text_width.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include "engine/characters.h"

namespace brindlewort {
namespace {

// Variation selector 16: show the character before as an emoji.
constexpr UChar32 emojiPresentation = 0xFE0F;

// Columns a scalar takes: none for marks and format characters that join
// the character before them, two for wide and fullwidth ones.
std::size_t scalarColumns(UChar32 c) {
  if (c < 0x300) return 1;
  const std::int32_t category = u_charType(c);
  if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK || category == U_FORMAT_CHAR)
    return 0;
  const auto eastAsian = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
  return eastAsian == U_EA_WIDE || eastAsian == U_EA_FULLWIDTH ? 2 : 1;
}

}  // namespace

TextWidth TextWidth::columns(std::size_t tabWidth) { return {true, std::clamp<std::size_t>(tabWidth, 1, maxTabWidth)}; }

TextWidth TextWidth::characters() { return {false, 1}; }

std::size_t TextWidth::advance(std::size_t column, std::string_view text) const {
  if (!displayColumns_) return column + characterCount(text);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
  // Most text is ASCII without tabs: a column a byte, counted eight bytes
  // at a time as far as it goes.
  constexpr std::uint64_t high = 0x8080808080808080ULL, low7 = 0x7F7F7F7F7F7F7F7FULL;
  constexpr std::uint64_t tabs = 0x0909090909090909ULL;
  std::int32_t i = 0;
  for (; i + 8 <= length; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + i, 8);
    const std::uint64_t x = word ^ tabs;  // a zero byte where a tab stands
    const std::uint64_t tabBytes = ~(((x & low7) + low7) | x | low7);
    if (((word & high) | tabBytes) != 0) break;
  }
  while (i < length && bytes[i] < 0x80 && bytes[i] != '\t') ++i;
  column += static_cast<std::size_t>(i);
  std::size_t last = i > 0 ? 1 : 0;  // the columns of the scalar before
  while (i < length) {
    const std::uint8_t byte = bytes[i];
    if (byte < 0x80) {
      column = byte == '\t' ? (column / tabWidth_ + 1) * tabWidth_ : column + 1;
      last = 1;
      ++i;
      continue;
    }
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c == emojiPresentation && last == 1) {
      // "❤️": a text-style symbol drawn as an emoji takes two columns.
      ++column;
      last = 2;
      continue;
    }
    last = c < 0 ? 1 : scalarColumns(c);
    column += last;
  }
  return column;
}

}  // namespace brindlewort
