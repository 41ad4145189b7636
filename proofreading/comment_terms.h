#pragma once

// The terms a project's comments share. A word that the comments of
// several files use ("infoset", "boltdb", "profilez") is a term of the
// project, not a slip of one writer's hand; it still counts as a
// misspelling when a known word is one slip away from it
// (slip_neighbours.h), since a typo copied from file to file stays one.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "proofreading/accepted_words.h"
#include "reflow/comment_facts.h"

namespace brindlewort {

class CommentTermCounter {
 public:
  // Counts the words of the whole-line comments of one file, each once.
  void addFile(std::string_view text, const CommentMap& lines);
  // The words that three files use, or two files three times, among
  // different words; lower-case.
  AcceptedWords sharedTerms() const;

 private:
  struct Uses {
    std::uint32_t files = 0;
    std::uint32_t times = 0;
    std::size_t firstContext = 0;  // the other words of the first line that used it
    bool inOtherSentences = false;
  };
  std::unordered_map<std::string, Uses> uses_;
  std::unordered_set<std::string> inThisFile_;
};

}  // namespace brindlewort
