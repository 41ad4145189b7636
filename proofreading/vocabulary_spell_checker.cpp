#include "proofreading/vocabulary_spell_checker.h"

#include <algorithm>

#include "engine/characters.h"
#include "proofreading/finding_context.h"
#include "proofreading/run_together_words.h"
#include "proofreading/slip_neighbours.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {
namespace {

// Prefixes that make words of words in prose about code ("unshares",
// "nonpositive", "subnodes", "postdominates", "multicasting") and names of
// libraries ("libarchive"): the rest is judged alone. "re", "pre" and
// "inter" are not among them: too many misspellings start so
// ("recommand", "premission", "intergrated").
constexpr std::string_view wordPrefixes[] = {"un", "non", "sub", "post", "multi", "lib"};

// The word without a prefix of the list, when at least five letters and
// nothing else are left ("un" + "till" is no word); empty otherwise.
std::string_view withoutWordPrefix(std::string_view word) {
  for (const std::string_view prefix : wordPrefixes) {
    if (word.size() < prefix.size() + 5) continue;
    bool same = true;
    for (std::size_t i = 0; i < prefix.size() && same; ++i)
      same = (word[i] | 0x20) == prefix[i];
    if (!same) continue;
    const std::string_view rest = word.substr(prefix.size());
    const bool letters = std::all_of(rest.begin(), rest.end(), [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
    return letters ? rest : std::string_view();
  }
  return {};
}

}  // namespace

VocabularySpellChecker::VocabularySpellChecker(std::shared_ptr<const SpellChecker> dictionary,
                                               std::vector<std::shared_ptr<const AcceptedWords>> accepted,
                                               std::shared_ptr<const AcceptedWords> sharedTerms)
    : dictionary_(std::move(dictionary)), accepted_(std::move(accepted)), sharedTerms_(std::move(sharedTerms)) {
  std::erase_if(accepted_, [](const auto& words) { return !words || words->empty(); });
  if (sharedTerms_ && sharedTerms_->empty()) sharedTerms_.reset();
}

std::vector<TextCheckingResult> VocabularySpellChecker::check(std::string_view text) const {
  std::vector<TextCheckingResult> results = dictionary_->check(text);
  if (results.empty()) return results;
  const bool ascii = isAscii(text);
  const icu::UnicodeString units = toUtf16(text);
  const std::u16string_view view(units.getBuffer() ? units.getBuffer() : u"",
                                 static_cast<std::size_t>(units.length()));
  const FindingContext context(view);
  std::erase_if(results, [&](const TextCheckingResult& r) {
    if (r.resultType != spellingResultType || r.start < 0 || r.length <= 0) return false;
    std::string word;
    if (ascii) {
      if (static_cast<std::size_t>(r.start + r.length) > text.size()) return false;
      word = text.substr(static_cast<std::size_t>(r.start), static_cast<std::size_t>(r.length));
    } else {
      if (r.start + r.length > units.length()) return false;
      word = utf8Slice(units, r.start, r.length);
    }
    if (context.excuses(r.start, r.length)) return true;
    auto accepted = [&](std::string_view w) {
      return std::any_of(accepted_.begin(), accepted_.end(), [&](const auto& words) { return words->accepts(w); });
    };
    if (accepted(word)) return true;
    const std::string_view rest = withoutWordPrefix(word);
    if (!rest.empty() && (accepted(rest) || dictionary_->check(rest).empty())) return true;
    const KnowsWord slipsFromKnownWord = [&](std::string_view lower) {
      return hasKnownNeighbour(lower, accepted) || dictionary_->knowsWordOneSlipFrom(lower);
    };
    if (sharedTerms_ && sharedTerms_->accepts(word) && isAscii(word) && !slipsFromKnownWord(lowerCased(word)))
      return true;
    return isRunTogetherWords(
        word, accepted, [&](std::string_view w) { return dictionary_->check(w).empty(); }, slipsFromKnownWord);
  });
  return results;
}

}  // namespace brindlewort
