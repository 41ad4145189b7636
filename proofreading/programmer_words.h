#pragma once

// General software terms that prose about code uses and general
// dictionaries lack ("mutex", "deque", "codepoint"), accepted in every
// language. The list lives in programmer_words.txt, one word a line.

#include "proofreading/accepted_words.h"

namespace brindlewort {

// The words of programmer_words.txt, built once.
const AcceptedWords& programmerWords();

}  // namespace brindlewort
