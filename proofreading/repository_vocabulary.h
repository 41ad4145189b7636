#pragma once

// The vocabulary of the repository a file belongs to: the words of the
// code of all its tracked sources. A comment is judged against the same
// words whether brindle checks the whole repository, three staged files,
// standard input named with --stdin-filename or an editor's buffer.

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "proofreading/accepted_words.h"

namespace brindlewort {

// Where a file's vocabulary comes from.
struct VocabularySources {
  std::filesystem::path root;
  std::vector<std::filesystem::path> files;  // absolute
};

// The files of the git work tree that holds the file (git ls-files), or,
// outside git, of the folder tree from the nearest folder above that holds
// a project word list, else from the file's own folder. Hidden folders are
// left out of a folder tree, and a tree stops at maxFolderTreeFiles files.
VocabularySources vocabularySources(const std::filesystem::path& file);

inline constexpr std::size_t maxFolderTreeFiles = 50000;

// The vocabularies of the repositories a run or a language server meets,
// kept for as long as their owner lives. Safe to use from several threads.
class RepositoryVocabularies {
 public:
  // The vocabulary of the file's repository. It is read from a cache under
  // $XDG_CACHE_HOME/brindlewort (~/.cache when unset) when no source has
  // changed its path, size or modification time since it was written, and
  // kept in memory. Never fails: what cannot be read adds no words.
  std::shared_ptr<const AcceptedWords> forFile(const std::filesystem::path& file);

 private:
  struct Remembered {
    std::string fingerprint;
    std::shared_ptr<const AcceptedWords> words;
    std::chrono::steady_clock::time_point checked;
  };

  std::mutex mutex_;
  std::map<std::filesystem::path, std::filesystem::path> rootOfFolder_;
  std::map<std::filesystem::path, VocabularySources> sourcesOfRoot_;
  std::map<std::filesystem::path, Remembered> remembered_;
};

// The folder of the vocabulary caches.
std::filesystem::path vocabularyCacheFolder();

}  // namespace brindlewort
