#include "reflow/comment_runs.h"

#include <optional>

#include "engine/comment_detection.h"

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

}  // namespace

bool isCommentRunLine(std::string_view line) {
  // Only lines that open with the marker: a line such as «}  // end» has
  // "//" in its comment prefix too, but rewrapping it would copy or join
  // the code in front of the marker.
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line.compare(first, 2, "//") != 0) return false;
  const std::optional<std::string_view> prefix = commentPrefix(line);
  return prefix && prefix->find("//") != std::string_view::npos;
}

std::string_view lineEndAfter(std::string_view text, std::string_view line) {
  const auto after = static_cast<std::size_t>(line.data() + line.size() - text.data());
  if (after >= text.size()) return {};
  return text[after] == '\r' ? text.substr(after, 2) : text.substr(after, 1);
}

CommentRunWalker::CommentRunWalker(std::string_view text, std::size_t start, std::size_t firstLine)
    : text_(text), position_(start), lineNumber_(firstLine) {}

CommentRunWalker::CommentRunWalker(std::string_view text, const std::vector<bool>& commentLines)
    : text_(text), position_(0), lineNumber_(0), commentLines_(&commentLines) {}

bool CommentRunWalker::isRunLine(std::string_view line, std::size_t number) const {
  if (commentLines_ == nullptr) return isCommentRunLine(line);
  return number < commentLines_->size() && (*commentLines_)[number];
}

const CommentRun* CommentRunWalker::next() {
  while (position_ < text_.size()) {
    Line line = lineAt(text_, position_);
    if (!isRunLine(line.content, lineNumber_)) {
      position_ = line.next;
      ++lineNumber_;
      continue;
    }
    run_.lines.clear();
    run_.firstLine = lineNumber_;
    run_.firstLineEnd = line.end;
    run_.begin = position_;
    // The line that ends the run is looked at again by the next call; a
    // run is never longer than the text, so the walk stays linear.
    do {
      run_.lines.push_back(line.content);
      position_ = line.next;
      ++lineNumber_;
      if (position_ >= text_.size()) break;
      line = lineAt(text_, position_);
    } while (isRunLine(line.content, lineNumber_));
    run_.end = position_;
    return &run_;
  }
  return nullptr;
}

bool CommentRunWalker::atCommentRun() const {
  return position_ < text_.size() && isRunLine(lineAt(text_, position_).content, lineNumber_);
}

}  // namespace brindlewort
