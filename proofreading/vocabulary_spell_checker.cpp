#include "proofreading/vocabulary_spell_checker.h"

#include <algorithm>

#include "engine/characters.h"
#include "proofreading/finding_context.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {

VocabularySpellChecker::VocabularySpellChecker(std::shared_ptr<const SpellChecker> dictionary,
                                               std::vector<std::shared_ptr<const AcceptedWords>> accepted)
    : dictionary_(std::move(dictionary)), accepted_(std::move(accepted)) {
  std::erase_if(accepted_, [](const auto& words) { return !words || words->empty(); });
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
    return std::any_of(accepted_.begin(), accepted_.end(),
                       [&](const auto& words) { return words->accepts(word); });
  });
  return results;
}

}  // namespace brindlewort
