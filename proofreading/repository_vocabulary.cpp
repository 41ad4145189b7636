#include "proofreading/repository_vocabulary.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>

#include "proofreading/code_vocabulary.h"
#include "proofreading/program_output.h"
#include "proofreading/project_word_list.h"

namespace brindlewort {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view cacheHeader = "brindle-vocabulary 1";

// FNV-1a: stable across runs and machines, unlike std::hash.
struct Fingerprint {
  std::uint64_t value = 14695981039346656037ull;
  void add(std::string_view bytes) {
    for (const char c : bytes) {
      value ^= static_cast<unsigned char>(c);
      value *= 1099511628211ull;
    }
    value ^= 0xff;  // ends each field, so "ab","c" differs from "a","bc"
    value *= 1099511628211ull;
  }
  std::string hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
  }
};

std::optional<VocabularySources> gitSources(const fs::path& folder) {
  Result<std::string> top = programOutput({"git", "-C", folder.string(), "rev-parse", "--show-toplevel"});
  if (!top || top->empty()) return std::nullopt;
  while (!top->empty() && (top->back() == '\n' || top->back() == '\r')) top->pop_back();
  Result<std::string> listed = programOutput({"git", "-C", *top, "ls-files", "-z"});
  if (!listed) return std::nullopt;
  VocabularySources sources{fs::path(*top), {}};
  std::string_view rest = *listed;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\0');
    const std::string_view name = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!name.empty()) sources.files.push_back(sources.root / name);
  }
  return sources;
}

VocabularySources folderTreeSources(const fs::path& folder) {
  fs::path root = folder;
  if (const auto list = findProjectWordList(folder)) root = list->parent_path();
  VocabularySources sources{root, {}};
  std::error_code error;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
  for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (it->is_directory(error)) {
      if (name.starts_with('.')) it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file(error)) continue;
    sources.files.push_back(it->path());
    if (sources.files.size() >= maxFolderTreeFiles) break;
  }
  std::sort(sources.files.begin(), sources.files.end());
  return sources;
}

std::optional<std::string> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return std::move(content).str();
}

// The sources' names, sizes and modification times: what a cache is valid for.
std::string fingerprintOf(const VocabularySources& sources) {
  Fingerprint fingerprint;
  fingerprint.add(sources.root.string());
  for (const fs::path& file : sources.files) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    fingerprint.add(file.string());
    fingerprint.add(std::to_string(info.st_size) + ':' + std::to_string(info.st_mtim.tv_sec) + '.' +
                    std::to_string(info.st_mtim.tv_nsec));
  }
  return fingerprint.hex();
}

AcceptedWords vocabularyOf(const VocabularySources& sources) {
  AcceptedWords words;
  for (const fs::path& file : sources.files) {
    const std::string name = file.string();
    const SourceLanguage* language = vocabularyLanguageForPath(name);
    if (language == nullptr) continue;
    const std::optional<std::string> text = readFile(file);
    if (!text || !isVocabularySource(name, *text)) continue;
    addCodeVocabulary(words, *text, language);
  }
  return words;
}

fs::path cacheFileFor(const fs::path& root) {
  Fingerprint name;
  name.add(root.string());
  return vocabularyCacheFolder() / (name.hex() + ".words");
}

std::optional<AcceptedWords> readCache(const fs::path& cache, const std::string& fingerprint) {
  const std::optional<std::string> text = readFile(cache);
  if (!text) return std::nullopt;
  const std::string expected = std::string(cacheHeader) + '\n' + fingerprint + '\n';
  if (!text->starts_with(expected)) return std::nullopt;
  AcceptedWords words;
  std::string_view rest = std::string_view(*text).substr(expected.size());
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    words.add(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return words;
}

// Written to a temporary file and renamed, so that a run reading it at the
// same time sees the old cache or the new one.
void writeCache(const fs::path& cache, const std::string& fingerprint, const AcceptedWords& words) {
  std::error_code error;
  fs::create_directories(cache.parent_path(), error);
  if (error) return;
  const fs::path temporary = cache.string() + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return;
    out << cacheHeader << '\n' << fingerprint << '\n';
    for (const std::string& word : words.words()) {
      // Words with a line break cannot come from code, but a cache must
      // never be misread.
      if (word.find('\n') == std::string::npos) out << word << '\n';
    }
    if (!out.flush()) {
      fs::remove(temporary, error);
      return;
    }
  }
  fs::rename(temporary, cache, error);
  if (error) fs::remove(temporary, error);
}

}  // namespace

VocabularySources vocabularySources(const fs::path& file) {
  std::error_code error;
  const fs::path absolute = fs::absolute(file, error).lexically_normal();
  if (error) return {};
  const fs::path folder = absolute.has_parent_path() ? absolute.parent_path() : absolute;
  if (!fs::is_directory(folder, error)) return {};
  if (std::optional<VocabularySources> git = gitSources(folder)) return std::move(*git);
  return folderTreeSources(folder);
}

fs::path vocabularyCacheFolder() {
  const char* cacheHome = std::getenv("XDG_CACHE_HOME");
  if (cacheHome != nullptr && *cacheHome == '/') return fs::path(cacheHome) / "brindlewort" / "vocabulary";
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return fs::path(home) / ".cache" / "brindlewort" / "vocabulary";
  return fs::temp_directory_path() / "brindlewort-vocabulary";
}

std::shared_ptr<const AcceptedWords> RepositoryVocabularies::forFile(const fs::path& file) {
  // A run over many files of one repository asks git and looks at the
  // files' times once per folder and second, not once per file.
  constexpr auto recheckAfter = std::chrono::seconds(1);
  auto& rootOfFolder = rootOfFolder_;
  auto& sourcesOfRoot = sourcesOfRoot_;
  auto& remembered = remembered_;

  std::error_code error;
  const fs::path absolute = fs::absolute(file, error).lexically_normal();
  if (error) return std::make_shared<const AcceptedWords>();
  const fs::path folder = absolute.parent_path();
  // Files of one repository checked side by side wait for one reading.
  std::lock_guard lock(mutex_);
  const auto now = std::chrono::steady_clock::now();
  auto root = rootOfFolder.find(folder);
  if (root == rootOfFolder.end() || now - remembered[root->second].checked > recheckAfter) {
    VocabularySources sources = vocabularySources(absolute);
    if (sources.files.empty()) return std::make_shared<const AcceptedWords>();
    root = rootOfFolder.insert_or_assign(folder, sources.root).first;
    sourcesOfRoot[sources.root] = std::move(sources);
  }
  Remembered& known = remembered[root->second];
  if (known.words && now - known.checked <= recheckAfter) return known.words;

  const VocabularySources& sources = sourcesOfRoot[root->second];
  const std::string fingerprint = fingerprintOf(sources);
  known.checked = now;
  if (known.words && known.fingerprint == fingerprint) return known.words;
  const fs::path cache = cacheFileFor(sources.root);
  std::optional<AcceptedWords> words = readCache(cache, fingerprint);
  if (!words) {
    words = vocabularyOf(sources);
    writeCache(cache, fingerprint, *words);
  }
  known.fingerprint = fingerprint;
  known.words = std::make_shared<const AcceptedWords>(std::move(*words));
  return known.words;
}

}  // namespace brindlewort
