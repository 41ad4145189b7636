#pragma once

// How deeply a JSON text nests, found without parsing it, so that a message
// too deep to handle safely is refused before anything recurses over it.

#include <cstddef>
#include <string_view>

namespace brindlewort::cli::lsp {

// Protocol messages nest a few levels; this leaves room for any real one.
inline constexpr std::size_t maxJsonNesting = 256;

// The deepest nesting of arrays and objects in the text (brackets inside
// strings do not count). Any bytes are accepted; linear in the text.
std::size_t jsonNestingDepth(std::string_view text);

}  // namespace brindlewort::cli::lsp
