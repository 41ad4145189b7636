#pragma once

// The transformation driver: classify, join paragraphs, re-flow each one.
// Wrapping passes the maximum comment length; unwrapping passes
// noCommentLengthLimit.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

std::vector<std::string> rewrapLines(const std::vector<std::string>& lines, std::int64_t maxLength);
std::vector<std::string> rewrapLines(const std::vector<std::string_view>& lines,
                                     std::int64_t maxLength);

// rewrapLines with the output lines appended to `out`, separated by LF (no
// LF after the last one); saves a string per line on large inputs.
void appendRewrappedLines(const std::vector<std::string_view>& lines, std::int64_t maxLength,
                          std::string& out);

// The whole-text form: split at every LF, rewrap, join with LF.
std::string rewrapText(std::string_view text, std::int64_t maxLength);

// rewrapText, or nothing as soon as the result would pass sizeLimit bytes:
// a few words under a long hanging indent can otherwise grow a text with
// the square of its length.
std::optional<std::string> rewrapTextWithin(std::string_view text, std::int64_t maxLength,
                                            std::size_t sizeLimit);

// The workbench's line lists: split at every LF (a trailing LF gives a final
// empty line) and join with single LFs.
std::vector<std::string> splitLines(std::string_view text);
std::vector<std::string_view> splitLineViews(std::string_view text);
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace brindlewort
