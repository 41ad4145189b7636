#pragma once

// The transformation driver: classify, join paragraphs, re-flow each one.
// Wrapping passes the maximum comment length; unwrapping passes
// noCommentLengthLimit.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

std::vector<std::string> rewrapLines(const std::vector<std::string>& lines, std::int64_t maxLength);

// The workbench's line lists: split at every LF (a trailing LF gives a final
// empty line) and join with single LFs.
std::vector<std::string> splitLines(std::string_view text);
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace brindlewort
