#pragma once

// The vocabulary of the repository a file belongs to: the words of the
// code of all its tracked sources, its file names and the names its
// manifests declare. A comment is judged against the same
// words whether brindle checks the whole repository, three staged files,
// standard input named with --stdin-filename or an editor's buffer.

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "proofreading/accepted_words.h"

namespace brindlewort {

// Where a file's vocabulary comes from.
struct VocabularySources {
  std::filesystem::path root;
  std::vector<std::filesystem::path> files;  // absolute
};

// The files of the file's project (see findProjectRoot): the tracked files
// of its git work tree, else its folder tree. Every file's name counts as
// words; the sources of the languages brindle reads (and extension-less
// files that may be headers) and the manifests are read as well.
VocabularySources vocabularySources(const std::filesystem::path& file);

// The root of the file's project, remembered for a second per folder.
std::filesystem::path projectRootOfFile(const std::filesystem::path& file);

// What a repository adds to the words a comment may use.
struct RepositoryWords {
  // The words of its code, its file names and the names its manifests
  // declare: accepted as they stand.
  std::shared_ptr<const AcceptedWords> vocabulary;
  // The words that the comments of two files or more use (comment_terms.h):
  // accepted when no known word is one slip away.
  std::shared_ptr<const AcceptedWords> sharedTerms;
};

// The vocabularies of the repositories a run or a language server meets,
// kept for as long as their owner lives. Safe to use from several threads.
class RepositoryVocabularies {
 public:
  // The vocabulary of the file's repository. It is read from a cache under
  // $XDG_CACHE_HOME/brindlewort (~/.cache when unset) when no source has
  // changed its path, size or modification time since it was written, and
  // kept in memory while the owner lives. Never fails: what cannot be
  // read adds no words. A repository git refuses is said once on standard
  // error.
  RepositoryWords wordsForFile(const std::filesystem::path& file);
  // Its vocabulary alone.
  std::shared_ptr<const AcceptedWords> forFile(const std::filesystem::path& file) {
    return wordsForFile(file).vocabulary;
  }

 private:
  struct Remembered {
    std::string fingerprint;
    RepositoryWords words;
    std::chrono::steady_clock::time_point checked;
  };

  std::mutex mutex_;
  std::map<std::filesystem::path, std::filesystem::path> rootOfFolder_;
  std::map<std::filesystem::path, VocabularySources> sourcesOfRoot_;
  std::map<std::filesystem::path, Remembered> remembered_;
};

// The folder of the vocabulary caches: $XDG_CACHE_HOME/brindlewort/vocabulary,
// ~/.cache/brindlewort/vocabulary, else one named after the user in the
// temporary folder.
std::filesystem::path vocabularyCacheFolder();

// That folder made ready for use: created with mode 0700 when missing, and
// used only when it is a folder (not a link) of this user that no one else
// may write to; nothing otherwise, and nothing is cached.
std::optional<std::filesystem::path> usableVocabularyCacheFolder();

}  // namespace brindlewort
