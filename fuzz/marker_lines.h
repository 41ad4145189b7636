#pragma once

// The proofreading checks only ever insert marker lines: dropping what they
// added must give the input back.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "proofreading/marker_mark.h"

namespace brindlewort::fuzz {


// Whether `line` has the shape of a marker line for `flagged`: a prefix made
// from the flagged line's start (a list marker may be blanked to spaces),
// then spaces and marks, then, for spelling, the note. A marker line may hold
// no mark at all (an empty piece inside a construction).
inline bool isMarkerLineFor(std::string_view line, std::string_view flagged) {
  if (line.ends_with(typoNote)) {
    line.remove_suffix(typoNote.size());
  } else if (line.ends_with(typosNote)) {
    line.remove_suffix(typosNote.size());
  }
  while (!line.empty()) {
    if (line.back() == ' ') {
      line.remove_suffix(1);
    } else if (line.ends_with(markerMark)) {
      line.remove_suffix(markerMark.size());
    } else {
      break;
    }
  }
  if (line.size() > flagged.size()) return false;
  // What is left, spaces aside, must come from the flagged line in order.
  std::size_t from = 0;
  for (char c : line) {
    if (c == ' ') continue;
    from = flagged.find(c, from);
    if (from == std::string_view::npos) return false;
    ++from;
  }
  return true;
}

// True when `output` is `input` with at most one marker line inserted
// directly below each input line. Tracks every way the two can be lined up,
// so an input line that itself looks like a marker line cannot mislead it.
inline bool onlyMarkerLinesAdded(const std::vector<std::string>& input,
                                 const std::vector<std::string>& output) {
  std::vector<std::size_t> positions{0};  // output indexes where input[i] may sit
  for (const std::string& line : input) {
    std::vector<std::size_t> next;
    for (std::size_t at : positions) {
      if (at >= output.size() || output[at] != line) continue;
      next.push_back(at + 1);
      if (at + 1 < output.size() && isMarkerLineFor(output[at + 1], line)) next.push_back(at + 2);
    }
    std::sort(next.begin(), next.end());
    next.erase(std::unique(next.begin(), next.end()), next.end());
    if (next.empty()) return false;
    positions = std::move(next);
  }
  return std::find(positions.begin(), positions.end(), output.size()) != positions.end();
}

}  // namespace brindlewort::fuzz
