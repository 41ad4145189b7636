#include "proofreading/passive_voice_search.h"

#include <unicode/regex.h>

#include <array>
#include <cstring>
#include <memory>
#include <string_view>
#include <type_traits>

#include "proofreading/grammar_check.h"

namespace brindlewort {

namespace {

const icu::RegexPattern* compiledPattern() {
  // Compiled once: the pattern is constant and ICU patterns are immutable,
  // so threads share it.
  static const std::unique_ptr<icu::RegexPattern> pattern = [] {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(
        icu::UnicodeString::fromUTF8(passiveVoicePattern), 0, parseError, status));
    if (U_FAILURE(status)) compiled.reset();
    return compiled;
  }();
  return pattern.get();
}

template <typename Unit>
unsigned unitAt(const Unit* units, std::size_t i) {
  return static_cast<std::make_unsigned_t<Unit>>(units[i]);
}

constexpr auto asciiWordUnits = [] {
  std::array<bool, 128> table{};
  for (unsigned c = 0; c < 128; ++c) {
    table[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  }
  return table;
}();

bool isAsciiWordUnit(unsigned c) { return c < 128 && asciiWordUnits[c]; }

bool isAsciiSpace(unsigned c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Whether a white-space character may follow: ASCII blanks and anything
// beyond ASCII (the regular expression decides those).
bool maySpace(unsigned c) { return isAsciiSpace(c) || c >= 0x80; }

// The length of the pattern's leading word at i when a possible white-space
// character follows it; 0 when none does. Every match starts at such a
// place, so nothing else needs a closer look.
template <typename Unit>
std::size_t leadingWordLength(const Unit* units, std::size_t size, std::size_t i) {
  auto wordThenSpace = [&](std::string_view word) -> std::size_t {
    if (size - i <= word.size()) return 0;
    for (std::size_t k = 1; k < word.size(); ++k) {
      if (unitAt(units, i + k) != static_cast<unsigned char>(word[k])) return 0;
    }
    return maySpace(unitAt(units, i + word.size())) ? word.size() : 0;
  };
  using namespace std::string_view_literals;
  switch (unitAt(units, i)) {
    case 'b': {
      const std::size_t been = wordThenSpace("been"sv);
      return been != 0 ? been : wordThenSpace("be"sv);
    }
    case 'h': return wordThenSpace("have"sv);
    case 'w': {
      const std::size_t was = wordThenSpace("was"sv);
      return was != 0 ? was : wordThenSpace("were"sv);
    }
    case 'i': return wordThenSpace("is"sv);
    case 'a': {
      const std::size_t are = wordThenSpace("are"sv);
      return are != 0 ? are : wordThenSpace("am"sv);
    }
    default: return 0;
  }
}

enum class Attempt { match, none, undecided };

// Bit 7 of each byte of x (all ASCII) set where the byte lies in [low, high].
std::uint64_t inRange(std::uint64_t x, unsigned low, unsigned high) {
  constexpr std::uint64_t ones = 0x0101010101010101ULL;
  const std::uint64_t atLeastLow = x + ones * (0x80 - low);
  const std::uint64_t atMostHigh = ~(x + ones * (0x7F - high));
  return atLeastLow & atMostHigh & (ones * 0x80);
}

// The pattern at i, worked out directly where everything it looks at is
// ASCII: the word boundary, the leading word, its white space, and the
// longest start of the next token that ends in "en" or "ed" after at least
// one other character (where the greedy repetition settles). Anything
// beyond ASCII is left undecided for the regular expression.
template <typename Unit>
Attempt attemptAt(const Unit* units, std::size_t size, std::size_t i, std::size_t wordLength,
                  std::size_t& end) {
  if (i > 0 && unitAt(units, i - 1) >= 0x80) return Attempt::undecided;
  std::size_t token = i + wordLength;
  while (token < size && isAsciiSpace(unitAt(units, token))) ++token;
  if (token == i + wordLength) return Attempt::undecided;  // white space beyond ASCII
  std::size_t tokenEnd = token;
  for (; tokenEnd < size && !isAsciiSpace(unitAt(units, tokenEnd)); ++tokenEnd) {
    if (unitAt(units, tokenEnd) >= 0x80) return Attempt::undecided;
  }
  for (std::size_t j = tokenEnd; j >= token + 3; --j) {
    if (unitAt(units, j - 2) == 'e' && (unitAt(units, j - 1) == 'n' || unitAt(units, j - 1) == 'd')) {
      end = j;
      return Attempt::match;
    }
  }
  return Attempt::none;
}

// Walks the text left to right; `decide` settles what attemptAt cannot.
template <typename Unit, typename Decide>
std::vector<UnitSpan> scan(const Unit* units, std::size_t size, Decide decide) {
  std::vector<UnitSpan> matches;
  std::size_t i = 0;
  while (i < size) {
    const unsigned first = unitAt(units, i);
    // A word character before the leading word rules out the word boundary.
    if ((first == 'a' || first == 'b' || first == 'h' || first == 'i' || first == 'w') &&
        (i == 0 || !isAsciiWordUnit(unitAt(units, i - 1)))) {
      const std::size_t wordLength = leadingWordLength(units, size, i);
      std::size_t end = 0;
      const Attempt attempt =
          wordLength == 0 ? Attempt::none : attemptAt(units, size, i, wordLength, end);
      if (attempt == Attempt::match || (attempt == Attempt::undecided && decide(i, end))) {
        matches.push_back({static_cast<std::int64_t>(i), static_cast<std::int64_t>(end)});
        // The search goes on after the match; matches never overlap.
        i = end;
        continue;
      }
    }
    // On to the next place that follows something other than a word
    // character: the rest of a word cannot start a match.
    ++i;
    while (i < size && isAsciiWordUnit(unitAt(units, i - 1))) ++i;
  }
  return matches;
}

}  // namespace

std::vector<UnitSpan> passiveVoiceMatches(const icu::UnicodeString& text) {
  const icu::RegexPattern* pattern = compiledPattern();
  const char16_t* units = text.getBuffer();
  if (pattern == nullptr || units == nullptr) return {};
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(text, status));
  if (U_FAILURE(status)) return {};

  return scan(units, static_cast<std::size_t>(text.length()), [&](std::size_t i, std::size_t& end) {
    UErrorCode error = U_ZERO_ERROR;
    const bool found = matcher->lookingAt(static_cast<int64_t>(i), error);
    const std::int64_t matchEnd = found && U_SUCCESS(error) ? matcher->end64(error) : 0;
    // An attempt the engine gives up on (too deep a backtrack) is no match.
    if (U_FAILURE(error) || !found || matchEnd <= static_cast<std::int64_t>(i)) return false;
    end = static_cast<std::size_t>(matchEnd);
    return true;
  });
}

std::vector<UnitSpan> passiveVoiceMatchesInAscii(std::string_view text) {
  if (compiledPattern() == nullptr) return {};

  // Eight bytes at a time, find the places where a leading word may start:
  // one of its first letters after something other than a word character.
  // Only those few places get a closer look.
  std::vector<UnitSpan> matches;
  const char* units = text.data();
  const std::size_t size = text.size();
  std::size_t next = 0;  // where the search goes on after the last match
  std::uint64_t previousWord = 0;  // the text start counts as a non-word
  std::size_t block = 0;
  for (; block + 8 <= size; block += 8) {
    std::uint64_t x;
    std::memcpy(&x, units + block, 8);
    const std::uint64_t word = inRange(x, 'a', 'z') | inRange(x, 'A', 'Z') | inRange(x, '0', '9') |
                               inRange(x, '_', '_');
    const std::uint64_t first =
        inRange(x, 'a', 'b') | inRange(x, 'h', 'i') | inRange(x, 'w', 'w');
    std::uint64_t candidates = first & ~((word << 8) | previousWord);
    previousWord = word >> 56;
    while (candidates != 0) {
      const std::size_t i = block + static_cast<std::size_t>(__builtin_ctzll(candidates)) / 8;
      candidates &= candidates - 1;
      if (i < next) continue;
      const std::size_t wordLength = leadingWordLength(units, size, i);
      std::size_t end = 0;
      if (wordLength != 0 && attemptAt(units, size, i, wordLength, end) == Attempt::match) {
        matches.push_back({static_cast<std::int64_t>(i), static_cast<std::int64_t>(end)});
        next = end;
      }
    }
  }
  // The last few bytes one by one.
  for (std::size_t i = std::max(block, next); i < size; ++i) {
    const unsigned c = unitAt(units, i);
    if (c != 'a' && c != 'b' && c != 'h' && c != 'i' && c != 'w') continue;
    if (i > 0 && isAsciiWordUnit(unitAt(units, i - 1))) continue;
    const std::size_t wordLength = leadingWordLength(units, size, i);
    std::size_t end = 0;
    if (wordLength != 0 && attemptAt(units, size, i, wordLength, end) == Attempt::match) {
      matches.push_back({static_cast<std::int64_t>(i), static_cast<std::int64_t>(end)});
      i = end - 1;
    }
  }
  return matches;
}

}  // namespace brindlewort
