#include "reflow/comment_line_parts.h"

#include <algorithm>

#include "base/space_or_tab.h"
#include "reflow/source_language.h"

namespace brindlewort {

std::string_view CommentLine::text() const {
  std::string_view rest = body.substr(textOffset);
  while (!rest.empty() && isSpaceOrTab(rest.back())) rest.remove_suffix(1);
  return rest;
}

bool startsWithLineComment(std::string_view line) { return lineMarkerAt(line, slashComments).has_value(); }

CommentLine splitCommentLine(std::string_view line, const CommentFacts& facts) {
  CommentLine parts;
  parts.line = line;
  const std::size_t markerEnd = std::min<std::size_t>(line.size(), facts.markerAt + facts.markerSize);
  parts.lead = line.substr(0, std::min<std::size_t>(facts.markerAt, markerEnd));
  parts.marker = line.substr(parts.lead.size(), markerEnd - parts.lead.size());
  parts.body = line.substr(markerEnd);
  parts.opensBlock = facts.role == CommentRole::blockOpener;
  parts.decoration = facts.decoration;
  parts.decorated = facts.decorated;
  parts.underOpener = facts.underOpener;
  if (facts.closerSize > 0) {
    std::string_view trimmed = parts.body;
    while (!trimmed.empty() && isSpaceOrTab(trimmed.back())) trimmed.remove_suffix(1);
    if (trimmed.size() >= facts.closerSize) {
      parts.closer = trimmed.substr(trimmed.size() - facts.closerSize);
      parts.body = trimmed.substr(0, trimmed.size() - facts.closerSize);
    }
  }
  std::size_t text = 0;
  while (text < parts.body.size() && isSpaceOrTab(parts.body[text])) ++text;
  parts.textOffset = text;
  return parts;
}

CommentLine splitCommentLine(std::string_view line) {
  CommentLine parts;
  parts.line = line;
  std::size_t at = 0;
  while (at < line.size() && isSpaceOrTab(line[at])) ++at;
  parts.lead = line.substr(0, at);
  const CommentSyntax* syntax = lineSyntaxOf(line);
  parts.marker = markerAt(line, at, syntax != nullptr ? *syntax : slashComments);
  parts.body = line.substr(at + parts.marker.size());
  std::size_t text = 0;
  while (text < parts.body.size() && isSpaceOrTab(parts.body[text])) ++text;
  parts.textOffset = text;
  return parts;
}

}  // namespace brindlewort
