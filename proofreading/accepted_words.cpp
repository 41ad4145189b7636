#include "proofreading/accepted_words.h"

#include <unicode/unistr.h>


namespace brindlewort {

namespace {

// Words whose plural adds "es": those ending in s, x, z, sh, ch or o.
bool takesEs(std::string_view stem) {
  return stem.ends_with('s') || stem.ends_with('x') || stem.ends_with('z') || stem.ends_with("sh") ||
         stem.ends_with("ch") || stem.ends_with('o');
}

}  // namespace

std::string lowerCased(std::string_view word) {
  std::string lower(word);
  bool ascii = true;
  for (char& c : lower) {
    if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (ascii) return lower;
  lower.clear();
  icu::UnicodeString::fromUTF8(icu::StringPiece(word.data(), static_cast<std::int32_t>(word.size())))
      .toLower()
      .toUTF8String(lower);
  return lower;
}

void AcceptedWords::add(std::string_view word) {
  if (word.empty()) return;
  std::string lower = lowerCased(word);
  if (words_.find(std::string_view(lower)) == words_.end()) words_.insert(std::move(lower));
}

void AcceptedWords::merge(const AcceptedWords& other) {
  words_.insert(other.words_.begin(), other.words_.end());
}

bool AcceptedWords::containsLower(std::string_view lower) const {
  return !lower.empty() && words_.find(lower) != words_.end();
}

bool AcceptedWords::accepts(std::string_view word) const {
  if (words_.empty() || word.empty()) return false;
  // Dictionaries and lists spell the apostrophe straight.
  constexpr std::string_view curly = "\u2019";
  std::string lower;
  const std::string cased = lowerCased(word);
  lower.reserve(cased.size());
  for (std::size_t at = 0; at < cased.size(); ++at) {
    if (std::string_view(cased).substr(at, curly.size()) == curly) {
      lower += '\'';
      at += curly.size() - 1;
    } else {
      lower += cased[at];
    }
  }
  std::string_view base = lower;
  if (base.ends_with("'s")) {
    base.remove_suffix(2);
  } else if (base.ends_with("s'")) {
    base.remove_suffix(1);
  }
  if (containsLower(base)) return true;
  if (base.ends_with("ies") && containsLower(std::string(base.substr(0, base.size() - 3)) + "y"))
    return true;
  // A word ending in a hiss takes "es", never a bare "s": "classes" but not
  // "classs"; "es" after anything else is "s" after an "e" ("nodes").
  if (base.ends_with("es")) {
    const std::string_view stem = base.substr(0, base.size() - 2);
    if (takesEs(stem) && containsLower(stem)) return true;
  }
  if (!base.ends_with('s')) return false;
  const std::string_view stem = base.substr(0, base.size() - 1);
  return !takesEs(stem) && containsLower(stem);
}

}  // namespace brindlewort
