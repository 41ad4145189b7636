#include "proofreading/enchant_spell_checker.h"

#include <enchant.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <vector>

#include "proofreading/prose_words.h"
#include "proofreading/spelling_language.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort {

namespace {

struct StringHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

class EnchantSpellChecker final : public SpellChecker {
 public:
  EnchantSpellChecker(EnchantBroker* broker, EnchantDict* dict, std::vector<EnchantDict*> variants)
      : broker_(broker), dict_(dict), variants_(std::move(variants)) {}
  ~EnchantSpellChecker() override {
    for (EnchantDict* variant : variants_) enchant_broker_free_dict(broker_, variant);
    enchant_broker_free_dict(broker_, dict_);
    enchant_broker_free(broker_);
  }
  EnchantSpellChecker(const EnchantSpellChecker&) = delete;
  EnchantSpellChecker& operator=(const EnchantSpellChecker&) = delete;

  std::vector<TextCheckingResult> check(std::string_view text) const override {
    const icu::UnicodeString units = toUtf16(text);
    std::vector<TextCheckingResult> results;
    std::string word;
    for (const WordSpan& span : proseWords(units)) {
      word.clear();
      units.tempSubString(span.start, span.length).toUTF8String(word);
      if (!isCorrect(word) && !isPartOfCompound(units, span, word))
        results.push_back({spellingResultType, span.start, span.length});
    }
    return results;
  }

  // The made-up words are asked under one lock, and the answer is kept: a
  // run meets a project's terms in file after file.
  bool knowsWordOneSlipFrom(std::string_view lower) const override {
    {
      std::shared_lock lock(mutex_);
      if (const auto found = slips_.find(lower); found != slips_.end()) return found->second;
    }
    std::unique_lock lock(mutex_);
    if (const auto found = slips_.find(lower); found != slips_.end()) return found->second;
    const bool near = hasKnownNeighbour(lower, [this](std::string_view word) {
      return enchant_dict_check(dict_, word.data(), static_cast<ssize_t>(word.size())) <= 0;
    });
    slips_.emplace(lower, near);
    return near;
  }

 private:
  // A prefix before a hyphen ("un-escaped", "re-run", "non-null") is a word
  // of the compound, as is a part the dictionary knows only joined to its
  // neighbour ("hodge-podge").
  bool isPartOfCompound(const icu::UnicodeString& units, const WordSpan& span, const std::string& word) const {
    const std::int32_t end = span.start + span.length;
    const bool hyphenAfter = end + 1 < units.length() && units[end] == u'-' && u_isalpha(units[end + 1]);
    const bool hyphenBefore = span.start >= 2 && units[span.start - 1] == u'-' && u_isalpha(units[span.start - 2]);
    if (hyphenAfter && isHyphenPrefix(word)) return true;
    if (!hyphenAfter && !hyphenBefore) return false;
    // The whole compound: from the word before the hyphen to the one after.
    std::int32_t from = span.start;
    std::int32_t to = end;
    if (hyphenBefore) {
      from = span.start - 1;
      while (from > 0 && u_isalpha(units[from - 1])) --from;
    }
    if (hyphenAfter) {
      to = end + 1;
      while (to < units.length() && u_isalpha(units[to])) ++to;
    }
    std::string compound;
    units.tempSubString(from, to - from).toUTF8String(compound);
    std::string joined;
    for (const char c : compound)
      if (c != '-') joined += c;
    return isCorrect(compound) || isCorrect(joined);
  }

  static bool isHyphenPrefix(std::string_view word) {
    static constexpr std::string_view prefixes[] = {
        "anti", "auto", "bi", "co", "counter", "cross", "de", "dis", "ex", "hyper", "inter", "intra", "macro",
        "meta", "micro", "mid", "mis", "mono", "multi", "non", "out", "over", "poly", "post", "pre", "pro",
        "pseudo", "quasi", "re", "self", "semi", "sub", "super", "tri", "ultra", "un", "under"};
    std::string lower(word);
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return std::find(std::begin(prefixes), std::end(prefixes), lower) != std::end(prefixes);
  }

  // Text repeats its words: the dictionary is asked once per distinct word.
  bool isCorrect(const std::string& word) const {
    {
      std::shared_lock lock(mutex_);
      if (const auto found = verdicts_.find(std::string_view(word)); found != verdicts_.end()) {
        return found->second;
      }
    }
    std::unique_lock lock(mutex_);
    if (const auto found = verdicts_.find(std::string_view(word)); found != verdicts_.end()) {
      return found->second;
    }
    const bool correct = askDictionary(word);
    verdicts_.emplace(word, correct);
    return correct;
  }

  bool askDictionary(std::string_view word) const {
    // Dictionaries spell contractions with a straight apostrophe.
    std::string asked;
    asked.reserve(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (word.substr(i, 3) == "\u2019") {
        asked += '\'';
        i += 2;
      } else {
        asked += word[i];
      }
    }
    // Negative answers are failures of the dictionary, not of the word.
    auto knows = [&](EnchantDict* dict) {
      return enchant_dict_check(dict, asked.data(), static_cast<ssize_t>(asked.size())) <= 0;
    };
    return knows(dict_) || std::any_of(variants_.begin(), variants_.end(), knows);
  }

  EnchantBroker* broker_;
  EnchantDict* dict_;
  std::vector<EnchantDict*> variants_;  // the language's other spellings
  mutable std::shared_mutex mutex_;  // guards verdicts_, slips_ and calls into Enchant
  mutable std::unordered_map<std::string, bool, StringHash, std::equal_to<>> verdicts_;
  mutable std::unordered_map<std::string, bool, StringHash, std::equal_to<>> slips_;  // guarded by mutex_
};

std::string joinedNames(const std::vector<std::string>& names) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() ? " and " : ", ";
    out += names[i];
  }
  return out;
}

// Comments in English are written in British, American and other
// spellings alike; "behaviour" is no typo in a file checked with en_US.
std::vector<EnchantDict*> variantsOf(EnchantBroker* broker, std::string_view language) {
  std::vector<EnchantDict*> variants;
  if (!language.starts_with("en")) return variants;
  for (const char* variant : {"en_US", "en_GB", "en_CA", "en_AU"}) {
    if (language == variant || enchant_broker_dict_exists(broker, variant) != 1) continue;
    if (EnchantDict* dict = enchant_broker_request_dict(broker, variant)) variants.push_back(dict);
  }
  return variants;
}

}  // namespace

std::vector<std::string> spellingLanguagesToTry(std::string_view language) {
  std::vector<std::string> tried;
  if (!language.empty()) {
    tried.emplace_back(language);
  } else {
    if (std::string user = userSpellingLanguage(); !user.empty()) tried.push_back(std::move(user));
    if (tried.empty() || tried.front() != fallbackSpellingLanguage) {
      tried.emplace_back(fallbackSpellingLanguage);
    }
  }
  return tried;
}

Result<OpenedSpellChecker> openEnchantSpellChecker(std::string_view language) {
  const std::vector<std::string> tried = spellingLanguagesToTry(language);

  EnchantBroker* broker = enchant_broker_init();
  if (broker == nullptr) return Error{"the Enchant spell-checking library could not be started"};
  for (const std::string& name : tried) {
    if (EnchantDict* dict = enchant_broker_request_dict(broker, name.c_str()))
      return OpenedSpellChecker{std::make_unique<EnchantSpellChecker>(broker, dict, variantsOf(broker, name)),
                                name};
  }
  enchant_broker_free(broker);
  return Error{"no spelling dictionary could be loaded for " + joinedNames(tried) +
               " (is a Hunspell dictionary such as hunspell-en-us installed?)"};
}

}  // namespace brindlewort
