#include "workbench/line_list_reflow.h"

#include <algorithm>

#include "engine/comment_length.h"
#include "engine/rewrap.h"
#include "reflow/source_file_reflow.h"

namespace brindlewort {

std::vector<std::string> reflowedLines(const std::vector<std::string>& lines, std::int64_t maxLength,
                                       const SourceLanguage* language, std::optional<LineSpan> onlyLines) {
  const bool unlimited = maxLength == noCommentLengthLimit;
  // Below one character nothing is narrower than one word a line.
  const std::int64_t length = unlimited ? maxLength : std::max<std::int64_t>(maxLength, 1);
  if (!language) return rewrapLines(lines, length);
  SourceReflowOptions options;
  options.settings.mode = unlimited ? ReflowMode::unwrap : ReflowMode::fill;
  options.settings.width = unlimited ? unlimitedWidth : static_cast<std::size_t>(length);
  options.settings.measure = TextWidth::characters();
  // The slider's length is the length asked for, however little room it
  // leaves after the markers.
  options.settings.roomRule = false;
  if (onlyLines) options.onlyLines.push_back(*onlyLines);
  return splitLines(reflowSourceFile(joinLines(lines), language, options));
}

}  // namespace brindlewort
