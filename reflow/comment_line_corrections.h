#pragma once

// Taking another program's corrections of a source text only where they
// belong: on the lines the lexer calls comments. The lint helper works on
// plain text and would otherwise also "correct" a "//" line inside a raw
// string, a template literal or any other code.

#include <optional>
#include <string>
#include <string_view>

#include "reflow/source_language.h"

namespace brindlewort {

// The text with each comment line (as lexComments decides for `language`)
// replaced by the same line of `corrected`, every other line kept byte for
// byte. Nothing when the two texts have different numbers of lines: then no
// line of the one can be matched to the other. Lines end at '\n'; a '\r'
// before it goes with the line. Linear in the two texts.
std::optional<std::string> correctionsOnCommentLines(std::string_view text, std::string_view corrected,
                                                     const SourceLanguage* language);

}  // namespace brindlewort
