#include "cli/core/text_transform.h"

#include <algorithm>

#include "cli/core/parallel_for.h"
#include "engine/comment_detection.h"
#include "engine/rewrap.h"

namespace brindlewort::cli {
namespace {

struct Line {
  std::string_view content;  // without its line end
  std::string_view end;      // "\n", "\r\n" or "" at the end of the text
  std::size_t next;          // where the following line starts
};

Line lineAt(std::string_view text, std::size_t start) {
  std::size_t feed = text.find('\n', start);
  if (feed == std::string_view::npos) return {text.substr(start), {}, text.size()};
  std::size_t contentEnd = feed;
  if (contentEnd > start && text[contentEnd - 1] == '\r') --contentEnd;
  return {text.substr(start, contentEnd - start), text.substr(contentEnd, feed + 1 - contentEnd),
          feed + 1};
}

// Start of the first line at or after `from` that is not a comment run line
// and follows a line feed, so that no run is cut; text.size() when none.
std::size_t nextCutBetweenRuns(std::string_view text, std::size_t from) {
  std::size_t feed = text.find('\n', from);
  if (feed == std::string_view::npos) return text.size();
  std::size_t start = feed + 1;
  while (start < text.size()) {
    Line line = lineAt(text, start);
    if (!isCommentRunLine(line.content)) return start;
    start = line.next;
  }
  return text.size();
}

}  // namespace

bool isCommentRunLine(std::string_view line) {
  // Only lines that open with the marker: a line such as «}  // end» has
  // "//" in its comment prefix too, but rewrapping it would copy or join
  // the code in front of the marker.
  std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line.compare(first, 2, "//") != 0) return false;
  std::optional<std::string_view> prefix = commentPrefix(line);
  return prefix && prefix->find("//") != std::string_view::npos;
}

std::string transformCommentRuns(std::string_view text, const LinesTransform& transform) {
  std::string result;
  // Marker lines can add a good part to a text; pages reserved but never
  // written cost nothing, while growing would copy everything so far.
  result.reserve(text.size() + text.size() / 4);
  std::vector<std::string_view> run;
  std::size_t start = 0;
  while (start < text.size()) {
    Line line = lineAt(text, start);
    if (!isCommentRunLine(line.content)) {
      result.append(text.substr(start, line.next - start));
      start = line.next;
      continue;
    }
    const std::size_t runStart = start;
    std::string_view runEnd = line.end;
    std::string_view lastEnd;
    run.clear();
    do {
      run.push_back(line.content);
      lastEnd = line.end;
      start = line.next;
      if (start >= text.size()) break;
      line = lineAt(text, start);
    } while (isCommentRunLine(line.content));

    if (runEnd.empty()) {
      // A one-line run that closes the text: new lines it gets end like the
      // line before it.
      bool crlf = runStart >= 2 && text[runStart - 2] == '\r';
      runEnd = crlf ? "\r\n" : "\n";
    }
    std::vector<std::string> output = transform(run);
    for (std::size_t i = 0; i < output.size(); ++i) {
      result.append(output[i]);
      // A run that closes the text without a line end stays without one.
      result.append(i + 1 == output.size() && lastEnd.empty() ? std::string_view() : runEnd);
    }
  }
  return result;
}

std::vector<std::size_t> cutsBetweenRuns(std::string_view text, unsigned threads) {
  // Pieces of about a megabyte keep every thread busy without many of them.
  constexpr std::size_t minimumPiece = 1 << 20;
  const std::size_t pieces = std::min<std::size_t>(threads * 4, text.size() / minimumPiece);
  std::vector<std::size_t> cuts{0};
  if (threads > 1 && pieces > 1) {
    for (std::size_t i = 1; i < pieces; ++i) {
      std::size_t target = std::max(text.size() / pieces * i, cuts.back());
      if (target >= text.size()) break;
      std::size_t cut = nextCutBetweenRuns(text, target);
      if (cut >= text.size()) break;
      if (cut > cuts.back()) cuts.push_back(cut);
    }
  }
  cuts.push_back(text.size());
  return cuts;
}

std::string transformCommentRunsInParallel(std::string_view text, const LinesTransform& transform,
                                           unsigned threads) {
  const std::vector<std::size_t> cuts = cutsBetweenRuns(text, threads);
  if (cuts.size() <= 2) return transformCommentRuns(text, transform);

  std::vector<std::string> outputs(cuts.size() - 1);
  parallelFor(outputs.size(), threads, [&](std::size_t i) {
    outputs[i] = transformCommentRuns(text.substr(cuts[i], cuts[i + 1] - cuts[i]), transform);
  });
  std::size_t total = 0;
  for (const std::string& output : outputs) total += output.size();
  std::string result;
  result.reserve(total);
  for (std::string& output : outputs) {
    result.append(output);
    std::string().swap(output);
  }
  return result;
}

bool commentRunsKeepLineEnds(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    Line line = lineAt(text, start);
    start = line.next;
    if (!isCommentRunLine(line.content)) continue;
    const std::string_view runEnd = line.end;
    while (start < text.size()) {
      line = lineAt(text, start);
      if (!isCommentRunLine(line.content)) break;
      start = line.next;
      // The run's last line keeps a missing line end; every other line gets
      // the first line's.
      if (!line.end.empty() && line.end != runEnd) return false;
    }
  }
  return true;
}

std::string transformWholeText(std::string_view text, const LinesTransform& transform) {
  return joinLines(transform(splitLineViews(text)));
}

LinesTransform rewrapping(std::int64_t width) {
  return [width](const std::vector<std::string_view>& lines) { return rewrapLines(lines, width); };
}

TextTransform inScope(TextScope scope, LinesTransform transform, unsigned threads) {
  if (scope == TextScope::wholeText) {
    return [transform = std::move(transform)](std::string_view text) {
      return transformWholeText(text, transform);
    };
  }
  return [transform = std::move(transform), threads](std::string_view text) {
    return transformCommentRunsInParallel(text, transform, threads);
  };
}

}  // namespace brindlewort::cli
