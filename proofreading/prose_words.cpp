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

// The token without the punctuation that ends a sentence or clause after it.
std::u16string_view withoutClosingPunctuation(std::u16string_view token) {
  while (!token.empty() && std::u16string_view(u".,;:!?)\"'").find(token.back()) != std::u16string_view::npos)
    token.remove_suffix(1);
  while (!token.empty() && std::u16string_view(u"(\"'").find(token.front()) != std::u16string_view::npos)
    token.remove_prefix(1);
  return token;
}

// "obsolete/cleanup", "and/or": two words joined by a slash, each a word
// to check. A path is not: it has more parts, a leading slash or a dot.
bool isSlashCompound(std::u16string_view token) {
  token = withoutClosingPunctuation(token);
  const std::size_t slash = token.find(u'/');
  if (slash == std::u16string_view::npos || slash == 0 || slash + 1 == token.size()) return false;
  if (token.find(u'/', slash + 1) != std::u16string_view::npos) return false;
  return token.find(u'.') == std::u16string_view::npos;
}

// A single word in quotes ("cors", 'hebrew'), a clause's punctuation
// aside: a value the code takes, not prose.
bool isQuotedValue(std::u16string_view token) {
  while (!token.empty() && std::u16string_view(u".,;:!?)]").find(token.back()) != std::u16string_view::npos)
    token.remove_suffix(1);
  while (!token.empty() && std::u16string_view(u"([").find(token.front()) != std::u16string_view::npos)
    token.remove_prefix(1);
  if (token.size() < 3) return false;
  const char16_t quote = token.front();
  if (quote != u'"' && quote != u'\'') return false;
  return token.back() == quote && token.substr(1, token.size() - 2).find(quote) == std::u16string_view::npos;
}

// "github:name", "mailto:x": a word glued to another by a colon names a
// scheme or a handle.
bool hasInnerColon(std::u16string_view token) {
  const std::size_t colon = token.find(u':');
  return colon != std::u16string_view::npos && colon > 0 && colon + 1 < token.size() &&
         u_isalpha(token[colon - 1]) && u_isalnum(token[colon + 1]);
}

// A blank-separated token that is code or an address as a whole: its words
// mean nothing on their own.
bool tokenLooksLikeCode(std::u16string_view token) {
  if (isQuotedValue(token) || hasInnerColon(token)) return true;
  // A command-line flag as a whole: "-Wcast-qual", "--no-verify".
  if (token.size() > 2 && token[0] == u'-' && (u_isalpha(token[1]) || (token[1] == u'-' && u_isalpha(token[2]))))
    return true;
  // "libstdc++" and "C++" name code too.
  for (const std::u16string_view part : {u"://", u"::", u"->", u"()", u"www.", u"++"}) {
    if (contains(token, part)) return true;
  }
  const bool slashCompound = isSlashCompound(token);
  // E-mail addresses, paths, markup, shell and template syntax.
  for (const char16_t c : token) {
    switch (c) {
      case u'/':
        if (!slashCompound) return true;
        break;
      case u'@': case u'\\': case u'<': case u'>': case u'{': case u'}':
      case u'[': case u']': case u'=': case u'$': case u'#': case u'|': case u'~':
        return true;
      default:
        break;
    }
  }
  return false;
}

// Markdown links, "[text](url)", "[text][label]" and "[text]": the text is
// prose, the address and the label are not. Each bracket of a link becomes
// a blank for the tokens, and the address or label is skipped.
void markLinks(std::u16string_view units, std::vector<bool>& blank, std::vector<bool>& skipped) {
  auto fill = [](std::vector<bool>& marks, std::size_t from, std::size_t to) {
    std::fill(marks.begin() + static_cast<std::ptrdiff_t>(from), marks.begin() + static_cast<std::ptrdiff_t>(to), true);
  };
  for (std::size_t open = units.find(u'['); open != std::u16string_view::npos; open = units.find(u'[', open + 1)) {
    // A bracket glued to a word is an index ("a[i]"), not a link.
    if (open > 0 && (u_isalnum(units[open - 1]) || units[open - 1] == u'_')) continue;
    const std::size_t close = units.find_first_of(u"[]", open + 1);
    if (close == std::u16string_view::npos || units[close] != u']' || close == open + 1) continue;
    std::size_t end = close + 1;
    // "[label]: https://..." opening the text defines a reference: its
    // label is no prose either.
    const bool opensText = units.find_first_not_of(u" \t") == open;
    if (opensText && end < units.size() && units[end] == u':' && (end + 1 == units.size() || isSpaceUnit(units[end + 1]))) {
      fill(skipped, open, end + 1);
      open = end;
      continue;
    }
    if (end < units.size() && (units[end] == u'(' || units[end] == u'[')) {
      const std::size_t target = units.find(units[end] == u'(' ? u')' : u']', end + 1);
      if (target == std::u16string_view::npos) continue;
      fill(skipped, end, target + 1);
      end = target + 1;
    } else if (end < units.size() && !isSpaceUnit(units[end]) &&
               std::u16string_view(u".,;:!?)").find(units[end]) == std::u16string_view::npos) {
      continue;
    }
    blank[open] = true;
    blank[close] = true;
    fill(blank, close + 1, end);
    open = end - 1;
  }
}

// A word that reads as an identifier or abbreviation: an underscore or a
// digit (utf8, snake_case), a capital after the first letter (camelCase,
// HTTPServer, ALLCAPS), or an inner full stop (file.txt, example.com, e.g);
// or as mathematics: a sub- or superscript (xⁿ, vₙ₋₁) or a mark over a
// letter written apart (q̂).
bool wordLooksLikeCode(std::u16string_view word) {
  if (word.size() > static_cast<std::size_t>(longestWord)) return true;
  bool first = true;
  for (std::size_t i = 0; i < word.size();) {
    UChar32 c;
    U16_NEXT(word.data(), i, word.size(), c);
    if (c == u'_' || c == u'.' || u_isdigit(c)) return true;
    if ((c >= 0x2070 && c <= 0x209F) || c == 0xB2 || c == 0xB3 || c == 0xB9 || u_charType(c) == U_NON_SPACING_MARK)
      return true;
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

  std::vector<bool> blank(units.size(), false);
  if (units.find(u'[') != std::u16string_view::npos) markLinks(units, blank, skipped);
  auto separates = [&](std::size_t i) { return isSpaceUnit(units[i]) || blank[i]; };

  for (std::size_t i = 0; i < units.size();) {
    while (i < units.size() && separates(i)) ++i;
    std::size_t end = i;
    while (end < units.size() && !separates(end)) ++end;
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
