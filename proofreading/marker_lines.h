#pragma once

// Finding the marker lines the checks inserted, so that they can be taken
// out again: a line of nothing but a comment marker, blanks and "▲" marks,
// a spelling marker line ending in its TYPO note.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

enum class MarkerKind { spelling, grammar };

// The kind of marker line the line is; nothing for any other line.
std::optional<MarkerKind> markerLineKind(std::string_view line);

// The lines without the marker lines of the kinds given.
std::vector<std::string> withoutMarkerLines(const std::vector<std::string>& lines,
                                            std::initializer_list<MarkerKind> kinds);

}  // namespace brindlewort
