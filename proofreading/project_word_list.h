#pragma once

// A project's own word list, ".brindle-words" at its root: one word a
// line, "#" starts a comment. Checked in, it makes every machine and CI
// accept the same words.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "proofreading/accepted_words.h"

namespace brindlewort {

inline constexpr std::string_view projectWordListName = ".brindle-words";

// Where the word list for work in `folder` is: the nearest one in the
// folder or a folder above it up to the project's root, else the place for
// a new one at the root.
struct ProjectWordListPlace {
  std::filesystem::path path;
  bool exists = false;
  // Why the list found there may be neither read nor written: a symbolic
  // link, not a regular file, another user's. Empty when it may.
  std::string problem;
};
ProjectWordListPlace projectWordListPlace(const std::filesystem::path& folder,
                                          const std::filesystem::path& projectRoot);

// A list larger than this is not a list of words.
inline constexpr std::uintmax_t maxWordListBytes = 4u << 20;

// The words of the project's list for work in `folder`; nothing when there
// is none or it may not be read, which is said once on standard error.
AcceptedWords projectWordListWords(const std::filesystem::path& folder, const std::filesystem::path& projectRoot);

// The words of a list's text: blanks around a word and everything from
// "#" on are dropped, and so are empty lines.
AcceptedWords parseWordList(std::string_view text);

// A word that can stand on a line of a list: no blanks, no "#", no
// control characters; an error that says why otherwise.
Result<void> checkListWord(std::string_view word);

// The list's text with the word on a new last line; the text unchanged
// when it already holds the word exactly.
std::string withWordAdded(std::string_view listText, std::string_view word);

}  // namespace brindlewort
