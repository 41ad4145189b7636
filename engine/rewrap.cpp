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

constexpr auto unboundedRoom = [] { return SIZE_MAX; };

// `room()` is how many more bytes the emitted lines may take. False, with
// only part of the lines emitted, once a paragraph's lines would not fit.
template <typename Lines, typename Emit, typename Room = decltype(unboundedRoom)>
bool rewrapInto(const Lines& lines, std::int64_t maxLength, Emit emit, Room room = unboundedRoom) {
  const std::vector<LineDetail> details = parseLines(lines);
  const bool treatAsPlainText = !hasCommentLines(details);
  const JoinedParagraphs joined = joinParagraphs(details, LineRangeRecording::skip);
  bool within = true;
  forEachLine(joined.text, [&](std::string_view paragraph) {
    if (!within) return;
    const std::size_t left = room();
    // The paragraph's own line end (at most CR LF) is not emitted.
    const std::string wrapped =
        wrapParagraph(paragraph, maxLength, treatAsPlainText, left > SIZE_MAX - 2 ? SIZE_MAX : left + 2);
    const std::string_view emitted = droppingLineTerminator(wrapped);
    if (emitted.size() > left) {
      within = false;
      return;
    }
    forEachLine(emitted, emit);
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
      [&] { return out.size() < sizeLimit ? sizeLimit - out.size() : std::size_t{0}; });
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
