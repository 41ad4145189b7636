#pragma once

// Words that a dictionary rejects but that the text around them shows are
// not prose: names (a capital in mid-sentence, "TODO(name)"), doc tags and
// command-line flags ("@endcond", "-Werror"), calls ("frobl("), and the
// names in copyright lines.

#include <cstdint>
#include <string_view>

namespace brindlewort {

// Whether the word at [start, start + length) of the text (UTF-16 units of
// one comment line's text) is excused by what surrounds it.
bool excusedByContext(std::u16string_view text, std::int64_t start, std::int64_t length);

}  // namespace brindlewort
