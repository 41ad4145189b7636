#include "proofreading/finding_context.h"

#include <unicode/uchar.h>

#include "base/space_or_tab.h"
#include "proofreading/change_log_date.h"

namespace brindlewort {
namespace {


// Lines of copyright and authorship hold names that no dictionary knows.
bool isCopyrightLine(std::u16string_view text) {
  for (const std::u16string_view mark : {u"Copyright", u"copyright", u"\u00a9", u"SPDX-", u"Contributed by",
                                         u"Written by", u"Author:", u"Authors:", u"@author"}) {
    if (text.find(mark) != std::u16string_view::npos) return true;
  }
  // "(c) 2021", but not the third item of a list.
  for (const std::u16string_view mark : {u"(c) ", u"(C) "}) {
    const std::size_t at = text.find(mark);
    if (at != std::u16string_view::npos && at + 4 < text.size() && text[at + 4] >= u'0' && text[at + 4] <= u'9')
      return true;
  }
  return false;
}

// "TODO(name)", "BUG(name):", "NB(name)": the name of whoever wrote it.
bool insideTagParentheses(std::u16string_view text, std::size_t start) {
  // Such a name is short; a bounded look back keeps long lines linear.
  constexpr std::size_t longestName = 40;
  const std::size_t from = start > longestName ? start - longestName : 0;
  const std::size_t found = text.substr(from, start - from).rfind(u'(');
  if (found == std::u16string_view::npos) return false;
  const std::size_t open = from + found;
  if (text.substr(open, start - open).find(u')') != std::u16string_view::npos) return false;
  std::size_t tagStart = open;
  while (tagStart > 0 && text[tagStart - 1] >= u'A' && text[tagStart - 1] <= u'Z') --tagStart;
  return open - tagStart >= 2;
}

// A capital that does not open a sentence marks a name: people, places,
// companies, which are too many for any list.
bool isNameInSentence(std::u16string_view text, std::size_t start, std::size_t length) {
  if (!u_isupper(text[start])) return false;
  for (std::size_t i = start + 1; i < start + length; ++i) {
    if (u_isupper(text[i])) return false;  // all capitals: no sentence clue
  }
  std::size_t before = start;
  while (before > 0 && (isSpaceOrTab(text[before - 1]) || text[before - 1] == u'"' || text[before - 1] == u'(')) --before;
  if (before == 0) return false;  // the line's first word may open a sentence
  const char16_t previous = text[before - 1];
  return previous != u'.' && previous != u'!' && previous != u'?' && previous != u':';
}

// An initial: a capital and a full stop standing alone ("J. ").
bool isInitialAt(std::u16string_view text, std::size_t at) {
  return at + 1 < text.size() && u_isupper(text[at]) && text[at + 1] == u'.' &&
         (at == 0 || isSpaceOrTab(text[at - 1]) || text[at - 1] == u'.') &&
         (at + 2 == text.size() || isSpaceOrTab(text[at + 2]) || text[at + 2] == u',');
}

// A person's name in a citation: a capitalised word after an initial
// ("B. P. Flannery") or before one ("Devroye, L.").
bool isNameBesideInitial(std::u16string_view text, std::size_t start, std::size_t length) {
  if (!u_isupper(text[start])) return false;
  std::size_t before = start;
  while (before > 0 && isSpaceOrTab(text[before - 1])) --before;
  if (before >= 2 && before < start && isInitialAt(text, before - 2)) return true;
  std::size_t after = start + length;
  if (after < text.size() && text[after] == u',') ++after;
  while (after < text.size() && isSpaceOrTab(text[after])) ++after;
  return after > start + length && isInitialAt(text, after);
}

// The word before `start` on the line, or empty when there is none.
std::u16string_view wordBefore(std::u16string_view text, std::size_t start) {
  std::size_t end = start;
  while (end > 0 && isSpaceOrTab(text[end - 1])) --end;
  if (end == start) return {};
  std::size_t begin = end;
  while (begin > 0 && !isSpaceOrTab(text[begin - 1])) --begin;
  return text.substr(begin, end - begin);
}

// The word after a doc tag that names code or a group: "@ingroup
// frobl-ts", "@e xnext", "\c nullptr", "@see Frobl".
bool followsNamingTag(std::u16string_view text, std::size_t start) {
  const std::u16string_view tag = wordBefore(text, start);
  if (tag.size() < 2 || (tag[0] != u'@' && tag[0] != u'\\')) return false;
  static constexpr std::u16string_view naming[] = {
      u"ingroup", u"defgroup", u"addtogroup", u"weakgroup", u"e", u"em", u"a", u"c", u"p", u"ref", u"see",
      u"param", u"tparam", u"throws", u"throw", u"exception", u"retval", u"def", u"fn", u"var", u"class",
      u"struct", u"enum", u"typedef", u"namespace", u"file", u"page", u"section", u"subsection", u"anchor"};
  const std::u16string_view name = tag.substr(1);
  for (const std::u16string_view known : naming)
    if (name == known) return true;
  return false;
}

// A change log's line names its writer after the date: "2003-06-15 gn  Add
// support for ...". Where that name starts, or npos.
std::size_t writerAfterDate(std::u16string_view text) {
  constexpr std::size_t none = std::u16string_view::npos;
  std::size_t at = 0;
  while (at < text.size() && isSpaceOrTab(text[at])) ++at;
  if (!opensWithChangeLogDate(text.substr(at))) return none;
  std::size_t after = at + changeLogDateSize;
  while (after < text.size() && isSpaceOrTab(text[after])) ++after;
  return after;
}

// Whether an assignment or a comparison stands as a token of its own at
// `at` ("x = 1", "n == 0", "k := v", "a <= b"), read forwards.
bool operatorAfter(std::u16string_view text, std::size_t at) {
  while (at < text.size() && isSpaceOrTab(text[at])) ++at;
  std::size_t end = at;
  while (end < text.size() && end - at < 3 && std::u16string_view(u"=!:<>+-").find(text[end]) != std::u16string_view::npos)
    ++end;
  const std::u16string_view op = text.substr(at, end - at);
  const bool known = op == u"=" || op == u"==" || op == u"!=" || op == u":=" || op == u"<=" || op == u">=" ||
                     op == u"+=" || op == u"-=" || op == u"<" || op == u">";
  return known && (end == text.size() || isSpaceOrTab(text[end]));
}

// The same, read backwards from `at` (the character after the operator).
bool operatorBefore(std::u16string_view text, std::size_t at) {
  while (at > 0 && isSpaceOrTab(text[at - 1])) --at;
  std::size_t begin = at;
  while (begin > 0 && at - begin < 3 && std::u16string_view(u"=!:<>+-").find(text[begin - 1]) != std::u16string_view::npos)
    --begin;
  if (begin == at || (begin > 0 && !isSpaceOrTab(text[begin - 1]))) return false;
  return operatorAfter(text, begin);
}

// A verb made of a name and an apostrophe ("gofmt'ed", "mmap'd",
// "cas'ing") or an ordinal ("v'th"): no English word to check.
bool isApostropheForm(std::u16string_view word) {
  const std::size_t apostrophe = word.find_last_of(u"'\u2019");
  if (apostrophe == std::u16string_view::npos || apostrophe == 0) return false;
  const std::u16string_view ending = word.substr(apostrophe + 1);
  return ending == u"d" || ending == u"ed" || ending == u"ing" || ending == u"th" || ending == u"er";
}

}  // namespace

FindingContext::FindingContext(std::u16string_view text)
    : text_(text), copyrightLine_(isCopyrightLine(text)), writerAfterDate_(writerAfterDate(text)) {}

bool FindingContext::excuses(std::int64_t start, std::int64_t length) const {
  const std::u16string_view text = text_;
  if (start < 0 || length <= 0 || static_cast<std::size_t>(start + length) > text.size()) return false;
  const auto first = static_cast<std::size_t>(start);
  const auto end = static_cast<std::size_t>(start + length);
  if (length == 1 || (length == 2 && U16_IS_LEAD(text[first]))) return true;  // "𝓤", "x"
  if (first > 0) {
    // Doc tags (@endcond, \brief), format verbs (%lld), variables ($HOME),
    // references (&value) and members (.size).
    switch (text[first - 1]) {
      case u'@': case u'\\': case u'%': case u'$': case u'.': case u'&':
        return true;
      default:
        break;
    }
    // Letters glued to a number: "0xfffe", "64bit", "10ms".
    if (u_isdigit(text[first - 1])) return true;
    // Flags (-Werror, --verbose); a hyphen inside a word joins a compound.
    if (text[first - 1] == u'-' && (first == 1 || isSpaceOrTab(text[first - 2]) || text[first - 2] == u'-')) return true;
  }
  if (end < text.size() && text[end] == u'(') return true;  // calls: frobl()
  // A tracker's number: "bpo-39812", "gh-1201".
  if (end + 1 < text.size() && text[end] == u'-' && u_isdigit(text[end + 1])) return true;
  // An ordinal's ending after a variable: "the k-th item", "the n'th".
  if (first >= 2 && (text[first - 1] == u'-' || text[first - 1] == u'\'') && u_isalnum(text[first - 2])) {
    const std::u16string_view ending = text.substr(first, end - first);
    if (ending == u"th" || ending == u"st" || ending == u"nd" || ending == u"rd") return true;
  }
  const std::u16string_view word = text.substr(first, end - first);
  // Hexadecimal digits ("abf", "deadbf") and Go's assembly names (runtime·foo).
  if (word.find_first_not_of(u"abcdefABCDEF") == std::u16string_view::npos) return true;
  if (word.find(u'\u00b7') != std::u16string_view::npos) return true;
  if (isApostropheForm(word)) return true;
  // A variable beside an assignment or a comparison: "yh = y1*b", "n == 0".
  if (operatorAfter(text, end) || operatorBefore(text, first)) return true;
  // A copyright line's names are capitalised; its other words are English.
  return (copyrightLine_ && !u_islower(text[first])) || insideTagParentheses(text, first) || isNameInSentence(text, first, end - first) ||
         isNameBesideInitial(text, first, end - first) || followsNamingTag(text, first) || first == writerAfterDate_;
}

}  // namespace brindlewort
