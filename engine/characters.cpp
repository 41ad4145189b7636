#include "characters.h"

#include <unicode/brkiter.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "grapheme_cursor.h"
#include "thread_character_iterator.h"

namespace brindlewort {

namespace {

bool isAsciiByte(char c) { return static_cast<unsigned char>(c) < 0x80; }

// Owns the iterator behind the shared view, and closes its text at thread
// exit.
struct OwnedCharacterIterator {
  std::unique_ptr<icu::BreakIterator> made;
  ThreadCharacterIterator shared;

  OwnedCharacterIterator() {
    UErrorCode status = U_ZERO_ERROR;
    made.reset(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) made.reset();
    shared.iterator = made.get();
  }
  ~OwnedCharacterIterator() { utext_close(&shared.utf8Text); }
};

}  // namespace

ThreadCharacterIterator& threadCharacterIterator() {
  thread_local OwnedCharacterIterator instance;
  return instance.shared;
}

GraphemeCursor::GraphemeCursor(std::string_view text) : text_(text) {}

GraphemeCursor::~GraphemeCursor() {
  auto& shared = threadCharacterIterator();
  if (shared.owner == this) shared.owner = nullptr;
}

void GraphemeCursor::attachIcu() {
  auto& shared = threadCharacterIterator();
  // ICU offsets are 32-bit; beyond that a character is one scalar.
  if (text_.size() > static_cast<std::size_t>(INT32_MAX)) {
    shared.owner = nullptr;
    attached_ = false;
    return;
  }
  if (shared.owner == this && attached_) return;
  UErrorCode status = U_ZERO_ERROR;
  utext_openUTF8(&shared.utf8Text, text_.data(), static_cast<int64_t>(text_.size()), &status);
  if (U_SUCCESS(status) && shared.iterator) {
    shared.iterator->setText(&shared.utf8Text, status);
  }
  shared.owner = this;
  attached_ = true;
}

std::size_t GraphemeCursor::characterEnd(std::size_t pos) {
  const std::size_t size = text_.size();
  if (pos >= size) return size;
  if (isAsciiByte(text_[pos]) && (pos + 1 == size || isAsciiByte(text_[pos + 1]))) {
    if (text_[pos] == '\r' && pos + 1 < size && text_[pos + 1] == '\n') return pos + 2;
    return pos + 1;
  }
  attachIcu();
  auto& shared = threadCharacterIterator();
  if (!shared.iterator || !attached_) {
    std::size_t next = pos + 1;
    while (next < size && (static_cast<unsigned char>(text_[next]) & 0xC0) == 0x80) ++next;
    return next;
  }
  const int32_t next = shared.iterator->following(static_cast<int32_t>(pos));
  if (next == icu::BreakIterator::DONE || static_cast<std::size_t>(next) <= pos) return size;
  return static_cast<std::size_t>(next);
}

std::size_t GraphemeCursor::characterStart(std::size_t pos) {
  if (pos == 0 || pos >= text_.size()) return pos;
  if (isAsciiByte(text_[pos]) && isAsciiByte(text_[pos - 1])) {
    if (text_[pos] == '\n' && text_[pos - 1] == '\r') return pos - 1;
    return pos;
  }
  attachIcu();
  auto& shared = threadCharacterIterator();
  if (!shared.iterator || !attached_) {
    while (pos > 0 && (static_cast<unsigned char>(text_[pos]) & 0xC0) == 0x80) --pos;
    return pos;
  }
  const auto p = static_cast<int32_t>(pos);
  if (shared.iterator->isBoundary(p)) return pos;
  const int32_t previous = shared.iterator->preceding(p);
  if (previous == icu::BreakIterator::DONE || previous < 0) return 0;
  return static_cast<std::size_t>(previous);
}

std::size_t GraphemeCursor::countCharacters(std::string_view text) {
  GraphemeCursor cursor(text);
  cursor.attachIcu();
  auto& shared = threadCharacterIterator();
  if (!shared.iterator || !cursor.attached_) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos = cursor.characterEnd(pos)) ++count;
    return count;
  }
  // One forward walk keeps ICU's break cache warm; asking for the boundary
  // after each position separately would rebuild it every time.
  std::size_t count = 0;
  shared.iterator->first();
  while (shared.iterator->next() != icu::BreakIterator::DONE) ++count;
  return count;
}

std::size_t asciiRunEnd(std::string_view text, std::size_t from) {
  // Eight bytes at a time: most source text is ASCII and this runs on every
  // line.
  std::size_t i = from;
  const std::size_t n = text.size();
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if (word & 0x8080808080808080ULL) break;
  }
  while (i < n && isAsciiByte(text[i])) ++i;
  return i;
}

bool isAscii(std::string_view text) { return asciiRunEnd(text, 0) == text.size(); }

namespace {

std::size_t crlfPairs(std::string_view text) {
  std::size_t pairs = 0;
  for (std::size_t pos = text.find("\r\n"); pos != std::string_view::npos;
       pos = text.find("\r\n", pos + 2)) {
    ++pairs;
  }
  return pairs;
}

// Below U+0300 (where the combining marks begin) no scalar joins its
// neighbour except CR-LF, so each scalar is a character of its own. Counts
// the scalars, or gives up when a higher one appears.
std::optional<std::size_t> countBelowCombiningMarks(std::string_view text) {
  std::size_t scalars = 0;
  for (const char byte : text) {
    const auto b = static_cast<unsigned char>(byte);
    if ((b & 0xC0) == 0x80) continue;  // continuation byte
    if (b >= 0xCC) return std::nullopt;  // lead byte of U+0300 or above
    ++scalars;
  }
  return scalars;
}

}  // namespace

std::size_t characterCount(std::string_view text) {
  if (isAscii(text)) return text.size() - crlfPairs(text);
  if (const auto scalars = countBelowCombiningMarks(text)) return *scalars - crlfPairs(text);
  return GraphemeCursor::countCharacters(text);
}

std::size_t byteOffsetAfterCharacters(std::string_view text, std::size_t count) {
  GraphemeCursor cursor(text);
  std::size_t pos = 0;
  for (std::size_t i = 0; i < count && pos < text.size(); ++i) pos = cursor.characterEnd(pos);
  return pos;
}

bool sameCharacters(std::string_view a, std::string_view b) {
  if (a == b) return true;
  if (isAscii(a) && isAscii(b)) return false;
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return false;
  const auto ua = icu::UnicodeString::fromUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())));
  const auto ub = icu::UnicodeString::fromUTF8(icu::StringPiece(b.data(), static_cast<int32_t>(b.size())));
  const icu::UnicodeString na = nfc->normalize(ua, status);
  const icu::UnicodeString nb = nfc->normalize(ub, status);
  return U_SUCCESS(status) && na == nb;
}

bool isLetterScalar(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
}

bool isWhitespaceScalar(char32_t c) {
  if (c == ' ' || c == '\t') return true;
  if (c < 0x80) return false;
  return u_charType(static_cast<UChar32>(c)) == U_SPACE_SEPARATOR;
}

bool isWhitespaceOrNewlineScalar(char32_t c) {
  if ((c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029) return true;
  return isWhitespaceScalar(c);
}

bool isStandaloneBlank(std::string_view text, std::size_t at) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
  const auto next = static_cast<std::int32_t>(at + 1);
  if (next < length && bytes[next] >= 0x80) {
    std::int32_t i = next;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    const auto property = u_getIntPropertyValue(c, UCHAR_GRAPHEME_CLUSTER_BREAK);
    if (property == U_GCB_EXTEND || property == U_GCB_ZWJ || property == U_GCB_SPACING_MARK)
      return false;
  }
  if (at > 0 && at <= static_cast<std::size_t>(length) && bytes[at - 1] >= 0x80) {
    auto i = static_cast<std::int32_t>(at);
    UChar32 c;
    U8_PREV(bytes, 0, i, c);
    if (u_getIntPropertyValue(c, UCHAR_GRAPHEME_CLUSTER_BREAK) == U_GCB_PREPEND) return false;
  }
  return true;
}

std::string spaces(std::size_t count) { return std::string(count, ' '); }

std::string blankingOccurrences(std::string_view text, std::string_view marker,
                                SearchDirection direction) {
  if (marker.empty() || marker.size() > text.size()) return std::string(text);
  // Where the occurrences stand, in ascending order; found ones never
  // overlap each other.
  std::vector<std::size_t> found;
  if (direction == SearchDirection::forward) {
    for (std::size_t pos = text.find(marker); pos != std::string_view::npos;
         pos = text.find(marker, pos + marker.size())) {
      found.push_back(pos);
    }
  } else {
    std::size_t end = text.size();
    while (end >= marker.size()) {
      const std::size_t pos = text.substr(0, end).rfind(marker);
      if (pos == std::string_view::npos) break;
      found.push_back(pos);
      end = pos;
    }
    std::reverse(found.begin(), found.end());
  }
  const std::string blank = spaces(characterCount(marker));
  std::string result;
  result.reserve(text.size());
  std::size_t copied = 0;
  for (const std::size_t pos : found) {
    result.append(text.substr(copied, pos - copied));
    result.append(blank);
    copied = pos + marker.size();
  }
  result.append(text.substr(copied));
  return result;
}

}  // namespace brindlewort
