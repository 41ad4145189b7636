#include "workbench/line_list_reflow.h"

#include <algorithm>

#include "engine/comment_length.h"
#include "engine/rewrap.h"
#include "reflow/comment_lexer.h"
#include "reflow/source_file_reflow.h"

namespace brindlewort {

bool hasLineComments(const std::vector<std::string>& lines) {
  return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return lexComments(line, nullptr).front().isWholeLine();
  });
}

std::vector<std::string> reflowedLines(const std::vector<std::string>& lines, std::int64_t maxLength,
                                       bool documentHasComments) {
  // Only a text of prose may have every line wrapped: with comments in it,
  // the other lines are code.
  if (!documentHasComments) return rewrapLines(lines, maxLength);
  SourceReflowOptions options;
  const bool unlimited = maxLength == noCommentLengthLimit || maxLength <= 0;
  options.settings.mode = unlimited ? ReflowMode::unwrap : ReflowMode::fill;
  options.settings.width = unlimited ? unlimitedWidth : static_cast<std::size_t>(maxLength);
  options.settings.measure = TextWidth::characters();
  // The slider's length is the length asked for, however little room it
  // leaves after the markers.
  options.settings.roomRule = false;
  return splitLines(reflowSourceFile(joinLines(lines), nullptr, options));
}

}  // namespace brindlewort
