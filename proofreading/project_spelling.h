#pragma once

// The words a file's comments may use beyond the dictionary, gathered the
// same way for every front end (the command line, a pre-commit hook, an
// editor through the language server, the workbench), so that a comment
// never passes in one and fails in another.

#include <memory>
#include <string_view>
#include <vector>

#include "proofreading/accepted_words.h"
#include "proofreading/repository_vocabulary.h"
#include "proofreading/spell_checker.h"

namespace brindlewort {

// For a text and the path of its file (empty when it has none): the
// programmer's dictionary, the project word list found above the file, the
// vocabulary of the file's repository (kept in `vocabularies`) and the words of the text's own code.
std::vector<std::shared_ptr<const AcceptedWords>> acceptedWordsFor(std::string_view path,
                                                                    std::string_view text,
                                                                    RepositoryVocabularies& vocabularies);

// The dictionary's checker accepting those words as well, and the terms
// the repository's comments share when no known word is one slip away.
std::shared_ptr<const SpellChecker> projectSpellChecker(std::shared_ptr<const SpellChecker> dictionary,
                                                        std::string_view path, std::string_view text,
                                                        RepositoryVocabularies& vocabularies);

}  // namespace brindlewort
