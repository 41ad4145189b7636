#pragma once

// The parts of a run of comment lines that are analysed and re-flowed on
// their own: stretches of one lead and marker, since "//" lines under
// "///" lines are another comment. A block comment's first line goes with
// the lines below it and on with their decoration.

#include <cstddef>
#include <vector>

#include "reflow/comment_line_parts.h"

namespace brindlewort {

// Sets a block opener's continuation from the line below it, then calls
// visit(begin, end) for each part, as indexes into `lines`.
template <typename Visit>
void forEachPartOfRun(std::vector<CommentLine>& lines, Visit visit) {
  if (lines.empty()) return;
  const bool opener = lines.front().opensBlock;
  if (opener && lines.size() > 1 && !lines[1].marker.empty())
    lines.front().continuation = lines[1].line.substr(0, lines[1].lead.size() + lines[1].marker.size());
  std::size_t start = 0;
  while (start < lines.size()) {
    const std::size_t key = start == 0 && opener && lines.size() > 1 ? 1 : start;
    std::size_t stop = key + 1;
    while (stop < lines.size() && lines[stop].lead == lines[key].lead && lines[stop].marker == lines[key].marker)
      ++stop;
    visit(start, stop);
    start = stop;
  }
}

}  // namespace brindlewort
