#pragma once

// A set of words that are right whatever the dictionary says: the
// programmer's dictionary, a project's word list, the words of its code.
// A word is accepted in any case and with a plural or possessive ending:
// "deque" accepts "Deque", "DEQUE", "deques" and "deque's".

#include <string>
#include <string_view>
#include <unordered_set>

namespace brindlewort {

class AcceptedWords {
 public:
  // Adds a word (any case); empty words are ignored.
  void add(std::string_view word);
  // Whether the word, or the word without a plural or possessive ending,
  // is in the set, case aside.
  bool accepts(std::string_view word) const;
  std::size_t size() const { return words_.size(); }
  bool empty() const { return words_.empty(); }
  // Every word of the other set becomes a word of this one.
  void merge(const AcceptedWords& other);

  // The words, lower-case, in no particular order.
  const auto& words() const { return words_; }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  bool containsLower(std::string_view lower) const;

  std::unordered_set<std::string, Hash, std::equal_to<>> words_;
};

// The word in lower case: ASCII letters directly, any other text through
// ICU's case mapping.
std::string lowerCased(std::string_view word);

}  // namespace brindlewort
