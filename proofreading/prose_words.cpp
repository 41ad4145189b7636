#include "proofreading/prose_words.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/ubrk.h>

#include <algorithm>
#include <memory>
#include <string_view>

namespace brindlewort {

namespace {

// Longer runs of letters are data (encoded blobs, hashes), not words.
constexpr std::int32_t longestWord = 64;

icu::BreakIterator* threadWordIterator() {
  thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> made(
        icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) made.reset();
    return made;
  }();
  return iterator.get();
}

bool isSpaceUnit(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r') || (c >= 0x80 && u_isUWhiteSpace(c));
}

bool contains(std::u16string_view token, std::u16string_view part) {
  return token.find(part) != std::u16string_view::npos;
}

// A blank-separated token that is code or an address as a whole: its words
// mean nothing on their own.
bool tokenLooksLikeCode(std::u16string_view token) {
  for (const std::u16string_view part : {u"://", u"::", u"->", u"()", u"www."}) {
    if (contains(token, part)) return true;
  }
  // E-mail addresses, paths, markup, shell and template syntax.
  for (const char16_t c : token) {
    switch (c) {
      case u'@': case u'/': case u'\\': case u'<': case u'>': case u'{': case u'}':
      case u'[': case u']': case u'=': case u'$': case u'#': case u'|': case u'~':
        return true;
      default:
        break;
    }
  }
  return false;
}

// A word that reads as an identifier or abbreviation: an underscore or a
// digit (utf8, snake_case), a capital after the first letter (camelCase,
// HTTPServer, ALLCAPS), or an inner full stop (file.txt, example.com, e.g).
bool wordLooksLikeCode(std::u16string_view word) {
  if (word.size() > static_cast<std::size_t>(longestWord)) return true;
  bool first = true;
  for (std::size_t i = 0; i < word.size();) {
    UChar32 c;
    U16_NEXT(word.data(), i, word.size(), c);
    if (c == u'_' || c == u'.' || u_isdigit(c)) return true;
    if (!first && (u_isupper(c) || u_istitle(c))) return true;
    if (u_isalpha(c)) first = false;
  }
  return false;
}

}  // namespace

std::vector<WordSpan> proseWords(const icu::UnicodeString& text) {
  const std::u16string_view units(text.getBuffer() ? text.getBuffer() : u"",
                                  static_cast<std::size_t>(text.length()));
  std::vector<bool> skipped(units.size(), false);

  // Backtick spans; an unclosed backtick runs to the end of the text, which
  // in a wrapped comment is where its code usually continues.
  for (std::size_t i = units.find(u'`'); i != std::u16string_view::npos;) {
    const std::size_t close = units.find(u'`', i + 1);
    const std::size_t end = close == std::u16string_view::npos ? units.size() : close + 1;
    std::fill(skipped.begin() + static_cast<std::ptrdiff_t>(i),
              skipped.begin() + static_cast<std::ptrdiff_t>(end), true);
    i = end < units.size() ? units.find(u'`', end) : std::u16string_view::npos;
  }

  for (std::size_t i = 0; i < units.size();) {
    while (i < units.size() && isSpaceUnit(units[i])) ++i;
    std::size_t end = i;
    while (end < units.size() && !isSpaceUnit(units[end])) ++end;
    if (end > i && tokenLooksLikeCode(units.substr(i, end - i))) {
      std::fill(skipped.begin() + static_cast<std::ptrdiff_t>(i),
                skipped.begin() + static_cast<std::ptrdiff_t>(end), true);
    }
    i = end;
  }

  std::vector<WordSpan> words;
  icu::BreakIterator* iterator = threadWordIterator();
  if (iterator == nullptr) return words;
  iterator->setText(text);
  int32_t start = iterator->first();
  for (int32_t end = iterator->next(); end != icu::BreakIterator::DONE;
       start = end, end = iterator->next()) {
    const int32_t status = iterator->getRuleStatus();
    if (status < UBRK_WORD_LETTER || status >= UBRK_WORD_LETTER_LIMIT) continue;
    if (skipped[static_cast<std::size_t>(start)]) continue;
    const std::u16string_view word = units.substr(static_cast<std::size_t>(start),
                                                  static_cast<std::size_t>(end - start));
    if (wordLooksLikeCode(word)) continue;
    words.push_back({start, end - start});
  }
  return words;
}

}  // namespace brindlewort
