#include "cli/core/editor_config_file.h"

namespace brindlewort::cli {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string lowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A ';' or '#' after white space starts a comment that ends the line.
std::string_view withoutComment(std::string_view value) {
  for (std::size_t i = 1; i < value.size(); ++i) {
    if ((value[i] == ';' || value[i] == '#') && isSpace(value[i - 1])) return value.substr(0, i);
  }
  return value;
}

}  // namespace

EditorConfigFile parseEditorConfig(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  EditorConfigFile file;
  bool inPreamble = true;
  bool inSection = false;
  while (!text.empty()) {
    const std::size_t feed = text.find('\n');
    const std::string_view line = trimmed(text.substr(0, feed));
    text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      // The name runs to the line's last ']', so that it may hold brackets.
      const std::size_t close = line.rfind(']');
      inPreamble = false;
      inSection = close != std::string_view::npos && close > 0;
      if (inSection) file.sections.push_back({SectionGlob(line.substr(1, close - 1)), {}});
      continue;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) equals = line.find(':');
    if (equals == std::string_view::npos) continue;
    const std::string name = lowerCase(trimmed(line.substr(0, equals)));
    const std::string_view value = trimmed(withoutComment(trimmed(line.substr(equals + 1))));
    if (name.empty()) continue;
    if (inPreamble) {
      if (name == "root") file.root = lowerCase(value) == "true";
    } else if (inSection) {
      file.sections.back().properties.emplace_back(name, std::string(value));
    }
  }
  return file;
}

}  // namespace brindlewort::cli
