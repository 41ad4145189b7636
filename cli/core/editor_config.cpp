#include "cli/core/editor_config.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/regular_file.h"
#include "cli/core/editor_config_file.h"

namespace brindlewort::cli {
namespace {

// No real .editorconfig comes near this; a larger one is not read.
constexpr std::uintmax_t maxEditorConfigBytes = 1 << 20;

std::optional<std::size_t> wholeNumber(std::string_view text) {
  std::size_t n = 0;
  auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || stop != text.data() + text.size()) return std::nullopt;
  return n;
}

// What tells one version of a file from the next.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};
  bool operator==(const FileIdentity& o) const {
    return device == o.device && inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
           modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec &&
           changed.tv_nsec == o.changed.tv_nsec;
  }
};

FileIdentity identityOf(const struct stat& info) {
  return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

// Each .editorconfig is read and its globs compiled once, and again only
// when it changes: a run over many files, or a language server asked about
// the same files again and again, pays for a file once.
class ParsedFiles {
 public:
  // The file as it is now; null when there is none or it cannot be read.
  std::shared_ptr<const EditorConfigFile> get(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    {
      std::lock_guard lock(mutex_);
      const auto found = files_.find(path);
      // A file changed within the same tick of the file system's clock as
      // it was read keeps its times and maybe its size: only a file older
      // than that is known by them alone.
      if (found != files_.end() && found->second.identity == identityOf(info) &&
          info.st_mtim.tv_sec + 1 < found->second.readAt)
        return found->second.parsed;
    }
    // Known by what stat said before the read: a change after it shows as
    // a new identity next time and is read again.
    Entry read;
    read.readAt = std::time(nullptr);
    read.identity = identityOf(info);
    Result<std::string> text = readRegularFile(path, maxEditorConfigBytes, SymbolicLinks::follow);
    if (!text) return nullptr;
    std::lock_guard lock(mutex_);
    Entry& entry = files_[path];
    if (!entry.parsed || entry.text != *text) {
      read.parsed = std::make_shared<const EditorConfigFile>(parseEditorConfig(*text));
      read.text = std::move(*text);
      entry = std::move(read);
    } else {
      entry.identity = read.identity;
      entry.readAt = read.readAt;
    }
    return entry.parsed;
  }

 private:
  struct Entry {
    FileIdentity identity;
    std::time_t readAt = 0;
    std::string text;
    std::shared_ptr<const EditorConfigFile> parsed;
  };
  std::mutex mutex_;
  std::map<std::string, Entry> files_;
};

ParsedFiles& parsedFiles() {
  static ParsedFiles files;
  return files;
}

}  // namespace

EditorConfigSettings editorConfigFor(std::string_view path) {
  EditorConfigSettings limits;
  if (path.empty()) return limits;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
  if (error) return limits;
  const std::string full = absolute.lexically_normal().string();
  if (full.empty() || full.front() != '/' || full.back() == '/') return limits;

  // The files from the file's folder up to the first that says root = true;
  // the nearest is applied last, so that it wins.
  std::vector<std::pair<std::size_t, std::shared_ptr<const EditorConfigFile>>> chain;  // folder length, file
  for (std::size_t slash = full.rfind('/');; slash = full.rfind('/', slash - 1)) {
    const std::string folder = full.substr(0, slash);
    if (auto file = parsedFiles().get(folder + "/.editorconfig")) {
      const bool root = file->root;
      chain.emplace_back(slash, std::move(file));
      if (root) break;
    }
    if (slash == 0) break;
  }
  std::map<std::string, std::string, std::less<>> properties;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    const std::string_view relative = std::string_view(full).substr(it->first + 1);
    for (const EditorConfigSection& section : it->second->sections) {
      if (!section.glob.matches(relative)) continue;
      for (const auto& [name, value] : section.properties) properties[name] = value;
    }
  }

  auto property = [&](std::string_view name) -> const std::string* {
    const auto found = properties.find(name);
    return found == properties.end() ? nullptr : &found->second;
  };
  if (const std::string* value = property("max_line_length")) {
    limits.maxLineLength = *value == "off" ? std::optional<std::size_t>(0) : wholeNumber(*value);
  }
  // An indent_size in columns stands for the tab width when none is given.
  const std::string* tab = property("tab_width");
  if (const std::string* indent = property("indent_size"); !tab && indent) tab = indent;
  if (tab) {
    if (auto width = wholeNumber(*tab); width && *width > 0) limits.tabWidth = width;
  }
  if (const std::string* value = property("spelling_language")) {
    // The property is written "en-US" and may come in lower case;
    // dictionaries are named "en_US".
    std::string language(*value);
    std::replace(language.begin(), language.end(), '-', '_');
    const std::size_t region = language.find('_');
    for (std::size_t at = region == std::string::npos ? language.size() : region + 1; at < language.size(); ++at)
      language[at] = static_cast<char>(std::toupper(static_cast<unsigned char>(language[at])));
    limits.spellingLanguage = std::move(language);
  }
  if (const std::string* value = property("keep_line_prefixes")) {
    // Literal prefixes, comma-separated; blanks around each are not part of it.
    std::string_view rest(*value);
    while (!rest.empty()) {
      const std::size_t comma = rest.find(',');
      std::string_view prefix = rest.substr(0, comma);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
      while (!prefix.empty() && (prefix.front() == ' ' || prefix.front() == '\t')) prefix.remove_prefix(1);
      while (!prefix.empty() && (prefix.back() == ' ' || prefix.back() == '\t')) prefix.remove_suffix(1);
      if (!prefix.empty()) limits.keepLinePrefixes.emplace_back(prefix);
    }
  }
  return limits;
}

}  // namespace brindlewort::cli
