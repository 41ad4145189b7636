#include "reflow/comment_run_walker.h"

#include <optional>

#include "engine/comment_detection.h"
#include "reflow/source_language.h"

namespace brindlewort {
namespace {

struct Line {
  std::string_view content;  // without its line end
  std::string_view end;      // "\n", "\r\n" or "" at the end of the text
  std::size_t next;          // where the following line starts
};

Line lineAt(std::string_view text, std::size_t start) {
  const std::size_t feed = text.find('\n', start);
  if (feed == std::string_view::npos) return {text.substr(start), {}, text.size()};
  std::size_t contentEnd = feed;
  // A carriage return counts as a line end only right before a line feed; a
  // lone one is part of the line.
  if (contentEnd > start && text[contentEnd - 1] == '\r') --contentEnd;
  return {text.substr(start, contentEnd - start), text.substr(contentEnd, feed + 1 - contentEnd),
          feed + 1};
}

// Whether the line goes on with the run of the line before: a comment line
// of the same kind. A block comment's first line starts a run of its own,
// so that two blocks, or a block and the line comments around it, are
// never one run.
bool continuesRun(std::span<const CommentFacts> comments, std::size_t line) {
  if (!isWholeLineComment(comments, line) || comments[line].role == CommentRole::blockOpener) return false;
  return comments[line].inBlock() == comments[line - 1].inBlock();
}

}  // namespace

bool isCommentRunLine(std::string_view line) {
  // Only lines that open with the marker: a line such as «}  // end» has
  // the marker in its comment prefix too, but rewrapping it would copy or
  // join the code in front of the marker.
  const CommentSyntax* syntax = lineSyntaxOf(line);
  if (syntax == nullptr) return false;
  // The other markers are only ever whole-line comments here.
  if (syntax != &slashComments) return true;
  const std::optional<std::string_view> prefix = commentPrefix(line);
  return prefix && prefix->find(slashComments.lineMarker) != std::string_view::npos;
}

std::string_view lineEndAfter(std::string_view text, std::string_view line) {
  const auto after = static_cast<std::size_t>(line.data() + line.size() - text.data());
  if (after >= text.size()) return {};
  return text[after] == '\r' ? text.substr(after, 2) : text.substr(after, 1);
}

CommentRunWalker::CommentRunWalker(std::string_view text, std::span<const CommentFacts> comments,
                                   std::size_t firstLine)
    : text_(text), comments_(comments), firstLine_(firstLine) {}

const CommentRun* CommentRunWalker::next() {
  while (position_ < text_.size()) {
    Line line = lineAt(text_, position_);
    if (!isWholeLineComment(comments_, index_)) {
      position_ = line.next;
      ++index_;
      continue;
    }
    run_.lines.clear();
    run_.firstLine = firstLine_ + index_;
    run_.firstLineEnd = line.end;
    run_.begin = position_;
    // The line that ends the run is looked at again by the next call; a
    // run is never longer than the text, so the walk stays linear.
    do {
      run_.lines.push_back(line.content);
      position_ = line.next;
      ++index_;
      if (position_ >= text_.size()) break;
      line = lineAt(text_, position_);
    } while (continuesRun(comments_, index_));
    run_.end = position_;
    run_.facts = comments_.subspan(run_.firstLine - firstLine_, run_.lines.size());
    return &run_;
  }
  return nullptr;
}

}  // namespace brindlewort
