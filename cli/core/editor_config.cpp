#include "cli/core/editor_config.h"

#include <editorconfig/editorconfig.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <memory>
#include <string>

namespace brindlewort::cli {
namespace {

std::optional<std::size_t> wholeNumber(std::string_view text) {
  std::size_t n = 0;
  auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || stop != text.data() + text.size()) return std::nullopt;
  return n;
}

}  // namespace

EditorConfigSettings editorConfigFor(std::string_view path) {
  EditorConfigSettings limits;
  if (path.empty()) return limits;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
  if (error) return limits;
  const std::unique_ptr<void, int (*)(editorconfig_handle)> handle(editorconfig_handle_init(),
                                                                    editorconfig_handle_destroy);
  if (!handle) return limits;
  const std::string full = absolute.lexically_normal().string();
  if (editorconfig_parse(full.c_str(), handle.get()) != 0) return limits;
  const int count = editorconfig_handle_get_name_value_count(handle.get());
  for (int i = 0; i < count; ++i) {
    const char* name = nullptr;
    const char* value = nullptr;
    editorconfig_handle_get_name_value(handle.get(), i, &name, &value);
    if (name == nullptr || value == nullptr) continue;
    const std::string_view key(name);
    if (key == "max_line_length") {
      limits.maxLineLength = std::string_view(value) == "off" ? std::optional<std::size_t>(0)
                                                              : wholeNumber(value);
    } else if (key == "tab_width") {
      if (auto tab = wholeNumber(value); tab && *tab > 0) limits.tabWidth = tab;
    } else if (key == "spelling_language") {
      // The property is written "en-US" and may come back lower-case;
      // dictionaries are named "en_US".
      std::string language(value);
      std::replace(language.begin(), language.end(), '-', '_');
      const std::size_t region = language.find('_');
      for (std::size_t at = region == std::string::npos ? language.size() : region + 1; at < language.size(); ++at)
        language[at] = static_cast<char>(std::toupper(static_cast<unsigned char>(language[at])));
      limits.spellingLanguage = std::move(language);
    } else if (key == "keep_line_prefixes") {
      limits.keepLinePrefixes.clear();
      std::string_view rest(value);
      while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        std::string_view prefix = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        while (!prefix.empty() && (prefix.front() == ' ' || prefix.front() == '\t')) prefix.remove_prefix(1);
        while (!prefix.empty() && (prefix.back() == ' ' || prefix.back() == '\t')) prefix.remove_suffix(1);
        if (!prefix.empty()) limits.keepLinePrefixes.emplace_back(prefix);
      }
    }
  }
  return limits;
}

}  // namespace brindlewort::cli
