#pragma once

// Whether a text can be read as source text at all. Every front end that
// takes a file (brindle, the language server, the workbench) asks these, so
// that they refuse the same files with the same words.

#include <string_view>

#include "base/result.h"

namespace brindlewort {

// Fails when the text cannot be transformed (not UTF-8, or a NUL byte),
// naming the byte offset of the first offending byte.
Result<void> checkDecodable(std::string_view text);

// Fails when a carriage return stands without the line feed of a CR-LF
// line end: the lines are cut at line feeds only, so old Mac line ends would
// turn a whole file into one line.
Result<void> checkLineEnds(std::string_view text);

}  // namespace brindlewort
