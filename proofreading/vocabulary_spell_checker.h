#pragma once

// A dictionary's spell checker that also accepts the words of lists that
// know better (the programmer's dictionary, a project's word list, the
// words of its code), the words whose context shows they are no prose
// (finding_context.h), words made of known words (prefixes, two words run
// together) and the terms a project's comments share, unless a known word
// is one slip away from them (slip_neighbours.h).

#include <memory>
#include <vector>

#include "proofreading/accepted_words.h"
#include "proofreading/spell_checker.h"

namespace brindlewort {

class VocabularySpellChecker final : public SpellChecker {
 public:
  VocabularySpellChecker(std::shared_ptr<const SpellChecker> dictionary,
                         std::vector<std::shared_ptr<const AcceptedWords>> accepted,
                         std::shared_ptr<const AcceptedWords> sharedTerms = nullptr);

  // The dictionary's findings minus the words some list accepts or the
  // context excuses. Only the
  // dictionary's findings are looked up, so the cost stays that of the
  // dictionary.
  std::vector<TextCheckingResult> check(std::string_view text) const override;

 private:
  std::shared_ptr<const SpellChecker> dictionary_;
  std::vector<std::shared_ptr<const AcceptedWords>> accepted_;
  std::shared_ptr<const AcceptedWords> sharedTerms_;
};

}  // namespace brindlewort
