#include "reflow/comment_line_corrections.h"

#include <algorithm>
#include <vector>

#include "reflow/comment_lexer.h"

namespace brindlewort {

std::optional<std::string> correctionsOnCommentLines(std::string_view text, std::string_view corrected,
                                                     const SourceLanguage* language) {
  if (std::count(text.begin(), text.end(), '\n') != std::count(corrected.begin(), corrected.end(), '\n')) {
    return std::nullopt;
  }
  const CommentMap comments = lexComments(text, language);
  std::string out;
  out.reserve(std::max(text.size(), corrected.size()));
  std::size_t from = 0;    // the start of the line in text
  std::size_t fromNew = 0;  // and in corrected
  for (const CommentFacts& facts : comments) {
    const bool comment = facts.isWholeLine();
    const std::size_t end = std::min(text.find('\n', from), text.size());
    const std::size_t endNew = std::min(corrected.find('\n', fromNew), corrected.size());
    out += comment ? corrected.substr(fromNew, endNew - fromNew) : text.substr(from, end - from);
    if (end == text.size()) break;
    out += '\n';
    from = end + 1;
    fromNew = endNew + 1;
  }
  return out;
}

}  // namespace brindlewort
