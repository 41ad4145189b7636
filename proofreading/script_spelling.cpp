#include "proofreading/script_spelling.h"

#include <unicode/uscript.h>

#include <algorithm>
#include <array>
#include <utility>

#include "engine/characters.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {
namespace {

// Scripts and the language of the dictionary that usually covers them.
constexpr std::array<std::pair<UScriptCode, std::string_view>, 16> scriptLanguages{{
    {USCRIPT_CYRILLIC, "ru"},   {USCRIPT_GREEK, "el"},      {USCRIPT_HEBREW, "he"},
    {USCRIPT_ARABIC, "ar"},     {USCRIPT_GEORGIAN, "ka"},   {USCRIPT_ARMENIAN, "hy"},
    {USCRIPT_THAI, "th"},       {USCRIPT_DEVANAGARI, "hi"}, {USCRIPT_BENGALI, "bn"},
    {USCRIPT_TAMIL, "ta"},      {USCRIPT_HANGUL, "ko"},     {USCRIPT_HAN, "none"},
    {USCRIPT_HIRAGANA, "none"}, {USCRIPT_KATAKANA, "none"}, {USCRIPT_KHMER, "none"},
    {USCRIPT_ETHIOPIC, "none"},
}};

}  // namespace

std::string_view dictionaryLanguageOfWord(std::string_view word) {
  const icu::UnicodeString units = toUtf16(word);
  for (std::int32_t i = 0; i < units.length(); i += U16_LENGTH(units.char32At(i))) {
    const UChar32 c = units.char32At(i);
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(c, &status);
    if (U_FAILURE(status) || script == USCRIPT_COMMON || script == USCRIPT_INHERITED) continue;
    if (script == USCRIPT_LATIN) return "";
    const auto found = std::find_if(scriptLanguages.begin(), scriptLanguages.end(),
                                    [&](const auto& entry) { return entry.first == script; });
    return found == scriptLanguages.end() ? "none" : found->second;
  }
  return "";
}

ScriptAwareSpellChecker::ScriptAwareSpellChecker(std::shared_ptr<const SpellChecker> main, DictionaryFinder find,
                                                 std::shared_ptr<std::atomic<std::size_t>> skipped)
    : main_(std::move(main)), find_(std::move(find)), skipped_(std::move(skipped)) {}

std::vector<TextCheckingResult> ScriptAwareSpellChecker::check(std::string_view text) const {
  std::vector<TextCheckingResult> results = main_->check(text);
  if (results.empty() || isAscii(text)) return results;
  const icu::UnicodeString units = toUtf16(text);
  std::erase_if(results, [&](const TextCheckingResult& r) {
    if (r.start < 0 || r.length <= 0 || r.start + r.length > units.length()) return false;
    const std::string word = utf8Slice(units, r.start, r.length);
    const std::string_view language = dictionaryLanguageOfWord(word);
    if (language.empty()) return false;
    const std::shared_ptr<const SpellChecker> own =
        language == "none" || !find_ ? nullptr : find_(std::string(language));
    if (!own) {
      if (skipped_) ++*skipped_;
      return true;
    }
    return own->check(word).empty();
  });
  return results;
}

}  // namespace brindlewort
