#include "proofreading/enchant_suggestions.h"

#include <enchant.h>

#include <map>
#include <mutex>

#include "proofreading/enchant_spell_checker.h"

namespace brindlewort {

// One broker, opened on the first request; its dictionaries by the language
// asked for.
struct SuggestionDictionaries::Broker {
  std::mutex mutex;
  EnchantBroker* broker = nullptr;
  bool tried = false;
  std::map<std::string, EnchantDict*, std::less<>> opened;

  EnchantDict* forLanguage(std::string_view language) {
    if (!tried) {
      tried = true;
      broker = enchant_broker_init();
    }
    if (broker == nullptr) return nullptr;
    if (const auto found = opened.find(language); found != opened.end()) return found->second;
    EnchantDict* dict = nullptr;
    for (const std::string& name : spellingLanguagesToTry(language)) {
      if ((dict = enchant_broker_request_dict(broker, name.c_str())) != nullptr) break;
    }
    opened.emplace(std::string(language), dict);
    return dict;
  }

  ~Broker() {
    if (broker == nullptr) return;
    for (const auto& [language, dict] : opened) {
      if (dict != nullptr) enchant_broker_free_dict(broker, dict);
    }
    enchant_broker_free(broker);
  }
};

SuggestionDictionaries::SuggestionDictionaries() : broker_(std::make_unique<Broker>()) {}

SuggestionDictionaries::~SuggestionDictionaries() = default;

std::vector<std::string> SuggestionDictionaries::suggestions(std::string_view language, std::string_view word,
                                                             std::size_t limit) {
  std::lock_guard lock(broker_->mutex);
  EnchantDict* dict = broker_->forLanguage(language);
  std::vector<std::string> suggestions;
  if (dict == nullptr || word.empty()) return suggestions;
  std::size_t count = 0;
  char** offered = enchant_dict_suggest(dict, word.data(), static_cast<ssize_t>(word.size()), &count);
  for (std::size_t i = 0; i < count && suggestions.size() < limit; ++i) suggestions.emplace_back(offered[i]);
  if (offered != nullptr) enchant_dict_free_string_list(dict, offered);
  return suggestions;
}

}  // namespace brindlewort
