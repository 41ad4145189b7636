#pragma once

// The words an identifier is made of: "parseHTTPRequest2" reads as
// "parse", "HTTP", "Request"; "max_line_length" and "line-length" as their
// pieces between the separators.

#include <string_view>
#include <vector>

namespace brindlewort {

// The runs of letters of an identifier, split at underscores, hyphens,
// digits and other punctuation, at a lower-case letter followed by a
// capital (camelCase), and before the last capital of a run of capitals
// that a lower-case letter follows (HTTPServer). Bytes beyond ASCII count as
// lower-case letters. Views into the identifier, in order.
std::vector<std::string_view> identifierParts(std::string_view identifier);

}  // namespace brindlewort
