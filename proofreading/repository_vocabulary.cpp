#include "proofreading/repository_vocabulary.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "base/atomic_write.h"
#include "base/notice.h"
#include "base/project_root.h"
#include "base/regular_file.h"
#include "base/source_tree.h"
#include "proofreading/code_vocabulary.h"
#include "proofreading/comment_terms.h"
#include "proofreading/identifier_parts.h"
#include "proofreading/info_log.h"
#include "proofreading/manifest_names.h"
#include "proofreading/project_word_list.h"

namespace brindlewort {
namespace fs = std::filesystem;

namespace {

// A cache ends with a line that checks the lines before it, so that one
// cut short (a full disk, a crash) is rebuilt rather than trusted.
constexpr std::string_view cacheHeader = "brindle-vocabulary 4";
constexpr std::string_view cacheEnd = "end ";

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

// Source files larger than this are generated, not written.
constexpr std::uintmax_t maxSourceBytes = 8u << 20;
constexpr std::uintmax_t maxCacheBytes = 256u << 20;

// The sources' names, sizes and modification times: what a cache is valid for.
std::string fingerprintOf(const VocabularySources& sources) {
  Fingerprint fingerprint;
  fingerprint.add(sources.root.string());
  for (const fs::path& file : sources.files) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    fingerprint.add(file.string());
    fingerprint.add(std::to_string(info.st_size) + ':' + std::to_string(info.st_mtim.tv_sec) + '.' +
                    std::to_string(info.st_mtim.tv_nsec));
  }
  return fingerprint.hex();
}

void addNameParts(AcceptedWords& words, std::string_view name) {
  for (const std::string_view part : identifierParts(name)) words.add(part);
}

// The vocabulary and the shared comment terms, as they are read and cached.
struct ReadWords {
  AcceptedWords vocabulary;
  AcceptedWords sharedTerms;
};

ReadWords vocabularyOf(const VocabularySources& sources) {
  AcceptedWords words;
  CommentTermCounter terms;
  CommentMap lines;
  for (const fs::path& file : sources.files) {
    const std::string name = file.string();
    // The project's own file names ("boltdb.go", "hexwave.h") are its words.
    addNameParts(words, file.stem().string());
    if (isManifestPath(name)) {
      const Result<std::string> text = readRegularFile(file, maxSourceBytes, SymbolicLinks::refuse);
      if (text) {
        for (const std::string& declared : manifestNames(name, *text)) addNameParts(words, declared);
      }
      continue;
    }
    const SourceLanguage* language = vocabularyLanguageForPath(name);
    if (language == nullptr) continue;
    const Result<std::string> text = readRegularFile(file, maxSourceBytes, SymbolicLinks::refuse);
    if (!text || !isVocabularySource(name, *text)) continue;
    lines.clear();
    addCodeVocabulary(words, *text, language, &lines);
    terms.addFile(*text, lines);
  }
  return {std::move(words), terms.sharedTerms()};
}

fs::path cacheFileFor(const fs::path& folder, const fs::path& root) {
  Fingerprint name;
  name.add(root.string());
  return folder / (name.hex() + ".words");
}

std::string checkOf(std::string_view lines) {
  Fingerprint check;
  check.add(lines);
  return check.hex();
}

// After the vocabulary's words, an empty line (no word is empty) and the
// shared terms.
std::optional<ReadWords> readCache(const fs::path& cache, const std::string& fingerprint) {
  const Result<std::string> text = readRegularFile(cache, maxCacheBytes, SymbolicLinks::refuse);
  if (!text) return std::nullopt;
  const std::string expected = std::string(cacheHeader) + '\n' + fingerprint + '\n';
  if (!text->starts_with(expected) || !text->ends_with('\n')) return std::nullopt;
  const std::string_view whole = *text;
  const std::size_t lastLine = whole.rfind('\n', whole.size() - 2);
  if (lastLine == std::string_view::npos || lastLine + 1 < expected.size()) return std::nullopt;
  const std::string_view body = whole.substr(0, lastLine + 1);
  const std::string_view end = whole.substr(lastLine + 1);
  if (end != std::string(cacheEnd) + checkOf(body) + '\n') return std::nullopt;
  ReadWords words;
  AcceptedWords* into = &words.vocabulary;
  std::string_view rest = body.substr(expected.size());
  while (!rest.empty()) {
    const std::size_t lineEnd = rest.find('\n');
    const std::string_view line = rest.substr(0, lineEnd);
    if (line.empty()) into = &words.sharedTerms;
    into->add(line);
    rest = lineEnd == std::string_view::npos ? std::string_view() : rest.substr(lineEnd + 1);
  }
  return words;
}

// Written to a new file and renamed, so that a run reading it at the same
// time sees the old cache or the new one.
void writeCache(const fs::path& cache, const std::string& fingerprint, const ReadWords& words) {
  std::string text = std::string(cacheHeader) + '\n' + fingerprint + '\n';
  auto addWords = [&](const AcceptedWords& list) {
    for (const std::string& word : list.words()) {
      // Words with a line break cannot come from code, but a cache must
      // never be misread.
      if (word.find('\n') == std::string::npos) text += word + '\n';
    }
  };
  addWords(words.vocabulary);
  text += '\n';
  addWords(words.sharedTerms);
  text += std::string(cacheEnd) + checkOf(text) + '\n';
  (void)writeOwnFileAtomically(cache.string(), text, 0600);
}

}  // namespace

VocabularySources vocabularySources(const fs::path& file) {
  const fs::path root = projectRootOfFile(file);
  if (root.empty()) return {};
  // Every tracked file, for its name; sources and manifests are read too.
  SourceTreeOptions options;
  options.maxFileBytes = maxSourceBytes;
  SourceTree tree = listSourceTree(root, options);
  for (const std::string& note : tree.notes) logInfo(note);
  return {root, std::move(tree.files)};
}

fs::path projectRootOfFile(const fs::path& file) {
  // A run over many files of one folder asks git once a second, not once
  // per file.
  constexpr auto recheckAfter = std::chrono::seconds(1);
  static std::mutex mutex;
  static std::map<fs::path, std::pair<fs::path, std::chrono::steady_clock::time_point>> known;
  std::error_code error;
  const fs::path absolute = fs::absolute(file, error).lexically_normal();
  if (error) return {};
  const fs::path folder = absolute.has_parent_path() ? absolute.parent_path() : absolute;
  const auto now = std::chrono::steady_clock::now();
  {
    std::lock_guard lock(mutex);
    if (const auto found = known.find(folder); found != known.end() && now - found->second.second <= recheckAfter) {
      return found->second.first;
    }
  }
  if (!fs::is_directory(folder, error)) return {};
  const ProjectRoot project = findProjectRoot(folder);
  if (!project.refusal.empty()) noticeOnce(project.refusal);
  std::lock_guard lock(mutex);
  known.insert_or_assign(folder, std::make_pair(project.folder, now));
  return project.folder;
}

fs::path vocabularyCacheFolder() {
  const char* cacheHome = std::getenv("XDG_CACHE_HOME");
  if (cacheHome != nullptr && *cacheHome == '/') return fs::path(cacheHome) / "brindlewort" / "vocabulary";
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home == '/') return fs::path(home) / ".cache" / "brindlewort" / "vocabulary";
  // Shared with every user: a name of this user's own, checked below.
  return fs::temp_directory_path() / ("brindlewort-vocabulary-" + std::to_string(::geteuid()));
}

std::optional<fs::path> usableVocabularyCacheFolder() {
  const fs::path folder = vocabularyCacheFolder();
  std::error_code error;
  fs::create_directories(folder.parent_path(), error);
  ::mkdir(folder.c_str(), 0700);
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
    return std::nullopt;
  }
  if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) return std::nullopt;
  return folder;
}

RepositoryWords RepositoryVocabularies::wordsForFile(const fs::path& file) {
  // A run over many files of one repository asks git and looks at the
  // files' times once per folder and second, not once per file.
  constexpr auto recheckAfter = std::chrono::seconds(1);
  auto& rootOfFolder = rootOfFolder_;
  auto& sourcesOfRoot = sourcesOfRoot_;
  auto& remembered = remembered_;

  std::error_code error;
  const fs::path absolute = fs::absolute(file, error).lexically_normal();
  const RepositoryWords none{std::make_shared<const AcceptedWords>(), std::make_shared<const AcceptedWords>()};
  if (error) return none;
  const fs::path folder = absolute.parent_path();
  // Files of one repository checked side by side wait for one reading.
  std::lock_guard lock(mutex_);
  const auto now = std::chrono::steady_clock::now();
  auto root = rootOfFolder.find(folder);
  if (root == rootOfFolder.end() || now - remembered[root->second].checked > recheckAfter) {
    VocabularySources sources = vocabularySources(absolute);
    if (sources.files.empty()) return none;
    root = rootOfFolder.insert_or_assign(folder, sources.root).first;
    sourcesOfRoot[sources.root] = std::move(sources);
  }
  Remembered& known = remembered[root->second];
  if (known.words.vocabulary && now - known.checked <= recheckAfter) return known.words;

  const VocabularySources& sources = sourcesOfRoot[root->second];
  const std::string fingerprint = fingerprintOf(sources);
  known.checked = now;
  if (known.words.vocabulary && known.fingerprint == fingerprint) return known.words;
  const std::optional<fs::path> cacheFolder = usableVocabularyCacheFolder();
  std::optional<ReadWords> words;
  if (cacheFolder) words = readCache(cacheFileFor(*cacheFolder, sources.root), fingerprint);
  if (!words) {
    words = vocabularyOf(sources);
    if (cacheFolder) writeCache(cacheFileFor(*cacheFolder, sources.root), fingerprint, *words);
  }
  known.fingerprint = fingerprint;
  known.words = {std::make_shared<const AcceptedWords>(std::move(words->vocabulary)),
                 std::make_shared<const AcceptedWords>(std::move(words->sharedTerms))};
  return known.words;
}

}  // namespace brindlewort
