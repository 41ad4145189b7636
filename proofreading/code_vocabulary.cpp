#include "proofreading/code_vocabulary.h"

#include <unordered_set>

#include "proofreading/identifier_parts.h"
#include "reflow/comment_lexer.h"

namespace brindlewort {
namespace {

const SourceLanguage& cppLanguage() {
  static const SourceLanguage* const language = languageForPath("vocabulary.cpp").language;
  return *language;
}

bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void addCodeVocabulary(AcceptedWords& words, std::string_view text, const SourceLanguage* language,
                       CommentMap* lines) {
  std::unordered_set<std::string_view> seen;
  for (const std::string_view word : codeWords(text, language ? *language : cppLanguage(), lines)) {
    if (isAsciiDigit(word.front()) || !seen.insert(word).second) continue;  // numbers
    const std::vector<std::string_view> parts = identifierParts(word);
    for (const std::string_view part : parts) words.add(part);
    // "getline" and "readLine" are also written as one word in prose.
    if (parts.size() > 1 && word.find_first_of("_-0123456789") == std::string_view::npos)
      words.add(word);
  }
}

const SourceLanguage* vocabularyLanguageForPath(std::string_view path) {
  const LanguageLookup lookup = languageForPath(path);
  switch (lookup.kind) {
    case LanguageLookup::Kind::known:
      return lookup.language;
    case LanguageLookup::Kind::unknown:
      return &cppLanguage();
    case LanguageLookup::Kind::noLineComments:
      return nullptr;
  }
  return nullptr;
}

bool mayBeVocabularySource(std::string_view path) {
  const LanguageLookup lookup = languageForPath(path);
  if (lookup.kind == LanguageLookup::Kind::known) return true;
  if (lookup.kind == LanguageLookup::Kind::noLineComments) return false;
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return name.find('.') == std::string_view::npos;
}

bool isVocabularySource(std::string_view path, std::string_view text) {
  if (!mayBeVocabularySource(path)) return false;
  if (languageForPath(path).kind == LanguageLookup::Kind::known) return true;
  return text.find("#include") != std::string_view::npos ||
         text.find("#pragma") != std::string_view::npos;
}

}  // namespace brindlewort
