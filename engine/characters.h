#pragma once

// Characters are extended grapheme clusters. Text is UTF-8; positions are
// byte offsets into the string_view passed in, always on character starts.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brindlewort {

// Number of characters (grapheme clusters) in the text. "\r\n" is one.
std::size_t characterCount(std::string_view text);

// Byte offset just after the first `count` characters of text (or its size).
std::size_t byteOffsetAfterCharacters(std::string_view text, std::size_t count);

// True when the two texts hold the same characters, comparing canonically
// equivalent sequences as equal (é precomposed equals e + combining acute).
bool sameCharacters(std::string_view a, std::string_view b);

// True when every byte is ASCII.
bool isAscii(std::string_view text);

// The offset of the first non-ASCII byte at or after `from`, or the size.
std::size_t asciiRunEnd(std::string_view text, std::size_t from);

// Character classes, scalar by scalar (a character belongs to a class when
// all its scalars do).
bool isLetterScalar(char32_t c);                 // General Category L* or M*
bool isWhitespaceScalar(char32_t c);             // Zs or U+0009
bool isWhitespaceOrNewlineScalar(char32_t c);    // whitespace, U+000A-000D, U+0085, U+2028, U+2029

// True when the byte at `at` (a space or tab) is a character of its own: not
// the base of a combining or joining mark that follows it, nor joined to a
// prepended mark before it (U+0020 U+0308 and U+0600 U+0020 are one
// character each).
bool isStandaloneBlank(std::string_view text, std::size_t at);

// A string of `count` U+0020 spaces.
std::string spaces(std::size_t count);

// The text with every occurrence of `marker` replaced by as many spaces as
// the marker has characters. Overlapping occurrences make the direction of
// the search matter ("///" with marker "//").
enum class SearchDirection { forward, backward };
std::string blankingOccurrences(std::string_view text, std::string_view marker,
                                SearchDirection direction);

}  // namespace brindlewort
