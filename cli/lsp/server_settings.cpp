#include "cli/lsp/server_settings.h"

#include <string>

#include "cli/core/text_options.h"

namespace brindlewort::cli::lsp {

ServerSettings withOptions(ServerSettings settings, const nlohmann::json& options) {
  if (!options.is_object()) return settings;
  if (const auto section = options.find("brindle"); section != options.end() && section->is_object()) {
    return withOptions(settings, *section);
  }
  if (const auto width = options.find("width"); width != options.end()) {
    if (width->is_null()) {
      settings.width.reset();
    } else if (width->is_number_unsigned()) {
      // The same reading as --width: 0 is no limit.
      settings.width = parseWidth(std::to_string(width->get<std::uint64_t>()));
    }
  }
  if (const auto severity = options.find("severity"); severity != options.end() && severity->is_string()) {
    const std::string name = severity->get<std::string>();
    if (name == "hint") settings.severity = severityHint;
    if (name == "information" || name == "info") settings.severity = severityInformation;
  }
  if (const auto rules = options.find("rules"); rules != options.end()) {
    // A list of names, or the names in one string as --rules takes them.
    std::string list;
    if (rules->is_string()) list = rules->get<std::string>();
    if (rules->is_array()) {
      list = rules->empty() ? "none" : "";
      for (const auto& name : *rules) {
        if (!name.is_string()) return settings;
        list += (list.empty() ? "" : ",") + name.get<std::string>();
      }
    }
    if (const std::optional<GrammarRules> parsed = parseGrammarRules(list)) settings.grammarRules = *parsed;
  }
  return settings;
}

}  // namespace brindlewort::cli::lsp
