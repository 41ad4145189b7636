#pragma once

// The spelling language a user's locale asks for.

#include <string>
#include <string_view>

namespace brindlewort {

// The language part of a locale name: "de_DE.UTF-8" and "de_DE@euro" give
// "de_DE"; empty for "C", "POSIX" and an empty name.
std::string spellingLanguageFromLocale(std::string_view locale);

// The language of the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty; empty when none names a language.
std::string userSpellingLanguage();

}  // namespace brindlewort
