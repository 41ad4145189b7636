#pragma once

// Joins every comment paragraph into one line (the unwrapping step) and
// records where each source line's piece landed in the joined text.

#include <cstdint>
#include <string>
#include <vector>

#include "line_detail.h"

namespace brindlewort {

// A source line's piece in the joined text, in characters.
struct LineRange {
  std::int64_t start = 0;
  std::int64_t length = 0;
  friend bool operator==(const LineRange&, const LineRange&) = default;
};

struct JoinedParagraphs {
  std::string text;
  std::vector<LineRange> lineRanges;  // one per classified line
};

// True when at least one line is a comment line (isCommentLine).
bool hasCommentLines(const std::vector<LineDetail>& lines);

JoinedParagraphs joinParagraphs(const std::vector<LineDetail>& lines);

// Counting characters for the ranges is most of the joining work; re-flowing
// does not need them.
enum class LineRangeRecording { record, skip };
JoinedParagraphs joinParagraphs(const std::vector<LineDetail>& lines, LineRangeRecording recording);

}  // namespace brindlewort
