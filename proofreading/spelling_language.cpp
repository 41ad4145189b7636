#include "proofreading/spelling_language.h"

#include <cstdlib>

namespace brindlewort {

std::string spellingLanguageFromLocale(std::string_view locale) {
  const std::string_view language = locale.substr(0, locale.find_first_of(".@"));
  if (language == "C" || language == "POSIX") return {};
  return std::string(language);
}

std::string userSpellingLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    // The first one set decides, as it does for the locale itself.
    if (value != nullptr && *value != '\0') return spellingLanguageFromLocale(value);
  }
  return {};
}

}  // namespace brindlewort
