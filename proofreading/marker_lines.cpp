#include "proofreading/marker_lines.h"

#include <algorithm>

#include "proofreading/marker_mark.h"

namespace brindlewort {

namespace {

bool isBlank(char ch) { return ch == ' ' || ch == '\t'; }

// ASCII letters and digits, and every byte of a non-ASCII character: text,
// not the punctuation a comment marker is made of.
bool isWordByte(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return byte >= 0x80 || (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
         (byte >= 'A' && byte <= 'Z');
}

}  // namespace

std::optional<MarkerKind> markerLineKind(std::string_view line) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  MarkerKind kind = MarkerKind::grammar;
  for (const std::string_view note : {typosNote, typoNote}) {
    if (line.ends_with(note)) {
      line.remove_suffix(note.size());
      kind = MarkerKind::spelling;
      break;
    }
  }
  const std::size_t firstMark = line.find(markerMark);
  if (firstMark == std::string_view::npos) return std::nullopt;
  // Before the marks: blanks and the comment's marker, no text.
  const std::string_view prefix = line.substr(0, firstMark);
  if (std::any_of(prefix.begin(), prefix.end(), isWordByte)) return std::nullopt;
  // From the first mark on: marks and blanks only.
  for (std::size_t at = firstMark; at < line.size();) {
    if (line.substr(at).starts_with(markerMark)) {
      at += markerMark.size();
    } else if (isBlank(line[at])) {
      ++at;
    } else {
      return std::nullopt;
    }
  }
  return kind;
}

std::vector<std::string> withoutMarkerLines(const std::vector<std::string>& lines,
                                            std::initializer_list<MarkerKind> kinds) {
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (const std::string& line : lines) {
    const std::optional<MarkerKind> kind = markerLineKind(line);
    if (kind && std::find(kinds.begin(), kinds.end(), *kind) != kinds.end()) continue;
    kept.push_back(line);
  }
  return kept;
}

}  // namespace brindlewort
