#include "proofreading/project_spelling.h"

#include <filesystem>

#include "proofreading/code_vocabulary.h"
#include "proofreading/programmer_words.h"
#include "proofreading/project_word_list.h"
#include "proofreading/repository_vocabulary.h"
#include "proofreading/vocabulary_spell_checker.h"

namespace brindlewort {
namespace fs = std::filesystem;

namespace {

std::shared_ptr<const AcceptedWords> projectWordList(const fs::path& file) {
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  return std::make_shared<const AcceptedWords>(projectWordListWords(folder, projectRootOfFile(file)));
}

}  // namespace

namespace {

struct ProjectWords {
  std::vector<std::shared_ptr<const AcceptedWords>> accepted;
  std::shared_ptr<const AcceptedWords> sharedTerms;
};

ProjectWords projectWords(std::string_view path, std::string_view text, RepositoryVocabularies& vocabularies) {
  // The programmer's dictionary lives as long as the program.
  std::vector<std::shared_ptr<const AcceptedWords>> lists{
      std::shared_ptr<const AcceptedWords>(std::shared_ptr<void>(), &programmerWords())};
  auto own = std::make_shared<AcceptedWords>();
  addCodeVocabulary(*own, text, vocabularyLanguageForPath(path.empty() ? "text.cpp" : path));
  lists.push_back(std::move(own));
  std::shared_ptr<const AcceptedWords> sharedTerms;
  if (!path.empty()) {
    const fs::path file(path);
    lists.push_back(projectWordList(file));
    RepositoryWords repository = vocabularies.wordsForFile(file);
    lists.push_back(std::move(repository.vocabulary));
    sharedTerms = std::move(repository.sharedTerms);
  }
  return {std::move(lists), std::move(sharedTerms)};
}

}  // namespace

std::vector<std::shared_ptr<const AcceptedWords>> acceptedWordsFor(std::string_view path,
                                                                    std::string_view text,
                                                                    RepositoryVocabularies& vocabularies) {
  return projectWords(path, text, vocabularies).accepted;
}

std::shared_ptr<const SpellChecker> projectSpellChecker(std::shared_ptr<const SpellChecker> dictionary,
                                                        std::string_view path, std::string_view text,
                                                        RepositoryVocabularies& vocabularies) {
  ProjectWords words = projectWords(path, text, vocabularies);
  return std::make_shared<VocabularySpellChecker>(std::move(dictionary), std::move(words.accepted),
                                                  std::move(words.sharedTerms));
}

}  // namespace brindlewort
