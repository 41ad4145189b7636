#include "paragraph_joining.h"

#include "characters.h"

namespace brindlewort {

bool hasCommentLines(const std::vector<LineDetail>& lines) {
  for (const LineDetail& line : lines) {
    if (isCommentLine(line)) return true;
  }
  return false;
}

JoinedParagraphs joinParagraphs(const std::vector<LineDetail>& lines) {
  return joinParagraphs(lines, LineRangeRecording::record);
}

JoinedParagraphs joinParagraphs(const std::vector<LineDetail>& lines, LineRangeRecording recording) {
  const bool recordRanges = recording == LineRangeRecording::record;
  const bool commentLines = hasCommentLines(lines);
  JoinedParagraphs joined;
  if (recordRanges) joined.lineRanges.reserve(lines.size());
  std::size_t reserve = 0;
  for (const LineDetail& line : lines) {
    reserve += line.text.size() + (line.commentPrefix ? line.commentPrefix->size() : 0) +
               line.listPrefix.size() + 1;
  }
  joined.text.reserve(reserve);

  // Character count of the joined text so far, kept as it grows.
  std::int64_t joinedLength = 0;
  for (const LineDetail& line : lines) {
    const bool continued = line.continuation;
    std::string_view lead;
    if (continued || (commentLines && !line.commentPrefix)) {
      lead = {};
    } else if (line.isListItem()) {
      lead = line.commentPrefix ? *line.commentPrefix : line.listPrefix;
    } else if (line.commentPrefix) {
      lead = *line.commentPrefix;
    }

    // Only text already written gets a separator, so leading empty lines
    // leave no trace.
    if (!joined.text.empty()) {
      joined.text.push_back(continued ? ' ' : '\n');
      ++joinedLength;
    }
    if (recordRanges) {
      const auto pieceLength =
          static_cast<std::int64_t>(characterCount(lead) + characterCount(line.text));
      joined.lineRanges.push_back({joinedLength, pieceLength});
      joinedLength += pieceLength;
    }
    joined.text.append(lead);
    joined.text.append(line.text);
  }
  return joined;
}

}  // namespace brindlewort
