#include "reflow/comment_line.h"

namespace brindlewort {
namespace {

bool isBlankByte(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view CommentLine::text() const {
  std::string_view rest = body.substr(textOffset);
  while (!rest.empty() && isBlankByte(rest.back())) rest.remove_suffix(1);
  return rest;
}

bool startsWithLineComment(std::string_view line) {
  std::size_t first = 0;
  while (first < line.size() && isBlankByte(line[first])) ++first;
  return line.substr(first, 2) == "//";
}

CommentLine splitCommentLine(std::string_view line) {
  CommentLine parts;
  parts.line = line;
  std::size_t at = 0;
  while (at < line.size() && isBlankByte(line[at])) ++at;
  parts.lead = line.substr(0, at);
  std::size_t markerSize = 2;
  if (line.size() > at + 2 && (line[at + 2] == '/' || line[at + 2] == '!') &&
      (line.size() == at + 3 || line[at + 3] != '/')) {
    markerSize = 3;
  }
  parts.marker = line.substr(at, markerSize);
  parts.body = line.substr(at + markerSize);
  std::size_t text = 0;
  while (text < parts.body.size() && isBlankByte(parts.body[text])) ++text;
  parts.textOffset = text;
  return parts;
}

}  // namespace brindlewort
