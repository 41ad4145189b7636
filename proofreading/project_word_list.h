#pragma once

// A project's own word list, ".brindle-words" at its root: one word a
// line, "#" starts a comment. Checked in, it makes every machine and CI
// accept the same words.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "proofreading/accepted_words.h"

namespace brindlewort {

inline constexpr std::string_view projectWordListName = ".brindle-words";

// The nearest project word list in `folder` or a folder above it.
std::optional<std::filesystem::path> findProjectWordList(const std::filesystem::path& folder);

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
