#pragma once

// General software terms that prose about code uses and general
// dictionaries lack ("mutex", "deque", "codepoint"), and the names of
// widely used software it writes in lower case ("github", "systemd"),
// accepted in every language. The lists live in programmer_words.txt and
// software_names.txt, one word a line.

#include "proofreading/accepted_words.h"

namespace brindlewort {

// The words of both lists, built once.
const AcceptedWords& programmerWords();

}  // namespace brindlewort
