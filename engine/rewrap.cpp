#include "rewrap.h"

#include "comment_wrapping.h"
#include "line_detail.h"
#include "paragraph_joining.h"

namespace brindlewort {

namespace {

template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      visit(text.substr(start));
      return;
    }
    visit(text.substr(start, end - start));
    start = end + 1;
  }
}

// False, with only part of the lines emitted, once the paragraphs wrapped so
// far pass sizeLimit bytes.
template <typename Lines, typename Emit>
bool rewrapInto(const Lines& lines, std::int64_t maxLength, Emit emit,
                std::size_t sizeLimit = SIZE_MAX) {
  const std::vector<LineDetail> details = parseLines(lines);
  const bool treatAsPlainText = !hasCommentLines(details);
  const JoinedParagraphs joined = joinParagraphs(details, LineRangeRecording::skip);
  std::size_t left = sizeLimit;
  bool within = true;
  forEachLine(joined.text, [&](std::string_view paragraph) {
    if (!within) return;
    const std::string wrapped = wrapParagraph(paragraph, maxLength, treatAsPlainText, left);
    if (wrapped.size() > left) {
      within = false;
      return;
    }
    left -= wrapped.size();
    forEachLine(droppingLineTerminator(wrapped), emit);
  });
  return within;
}

}  // namespace

std::vector<std::string> rewrapLines(const std::vector<std::string>& lines, std::int64_t maxLength) {
  std::vector<std::string> output;
  output.reserve(lines.size());
  rewrapInto(lines, maxLength, [&](std::string_view piece) { output.emplace_back(piece); });
  return output;
}

std::vector<std::string> rewrapLines(const std::vector<std::string_view>& lines,
                                     std::int64_t maxLength) {
  std::vector<std::string> output;
  output.reserve(lines.size());
  rewrapInto(lines, maxLength, [&](std::string_view piece) { output.emplace_back(piece); });
  return output;
}

void appendRewrappedLines(const std::vector<std::string_view>& lines, std::int64_t maxLength,
                          std::string& out) {
  bool first = true;
  rewrapInto(lines, maxLength, [&](std::string_view piece) {
    if (!first) out.push_back('\n');
    first = false;
    out.append(piece);
  });
}

std::string rewrapText(std::string_view text, std::int64_t maxLength) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  appendRewrappedLines(splitLineViews(text), maxLength, out);
  return out;
}

std::optional<std::string> rewrapTextWithin(std::string_view text, std::int64_t maxLength,
                                            std::size_t sizeLimit) {
  std::string out;
  bool first = true;
  const bool within = rewrapInto(
      splitLineViews(text), maxLength,
      [&](std::string_view piece) {
        if (!first) out.push_back('\n');
        first = false;
        out.append(piece);
      },
      sizeLimit);
  if (!within || out.size() > sizeLimit) return std::nullopt;
  return out;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  forEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::vector<std::string_view> splitLineViews(std::string_view text) {
  std::vector<std::string_view> lines;
  forEachLine(text, [&](std::string_view line) { lines.push_back(line); });
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::size_t size = lines.empty() ? 0 : lines.size() - 1;
  for (const std::string& line : lines) size += line.size();
  std::string text;
  text.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text.push_back('\n');
    text.append(lines[i]);
  }
  return text;
}

}  // namespace brindlewort
