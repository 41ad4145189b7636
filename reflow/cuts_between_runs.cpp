#include "reflow/cuts_between_runs.h"

#include <algorithm>

#include "reflow/source_language.h"

namespace brindlewort {
namespace {

// Whether a line opens at its first column with a name or a closing
// brace: in most languages a top-level statement, which no block comment,
// docstring or line comment is ever in.
bool opensAtTopLevel(std::string_view line) {
  if (line.empty()) return false;
  const char c = line[0];
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '}';
}

// Start of the first line at or after `from` that follows a line feed and
// satisfies `good`, looking no further than `limit`; npos when none.
template <typename Good>
std::size_t nextLineWhere(std::string_view text, std::size_t from, std::size_t limit, Good good) {
  std::size_t feed = text.find('\n', from);
  while (feed != std::string_view::npos && feed < limit) {
    const std::size_t start = feed + 1;
    feed = text.find('\n', start);
    const std::string_view line =
        text.substr(start, (feed == std::string_view::npos ? text.size() : feed) - start);
    if (good(line)) return start;
  }
  return std::string_view::npos;
}

// Where to cut near `from`: only a first guess, since a piece lexed from
// there goes on until the lexer of the text's language is back in plain
// code, and a piece started inside a comment is lexed in vain. A line
// opening at the top level is the likeliest plain code, if one comes
// within `reach`; else the first line that is no comment by the line rule,
// so that no run is cut; text.size() when none.
std::size_t nextCutBetweenRuns(std::string_view text, std::size_t from, std::size_t reach) {
  const std::size_t topLevel = nextLineWhere(text, from, from + reach, opensAtTopLevel);
  if (topLevel != std::string_view::npos) return topLevel;
  const std::size_t cut = nextLineWhere(text, from, text.size(),
                                        [](std::string_view line) { return !lineMarkerAt(line, slashComments); });
  return cut == std::string_view::npos ? text.size() : cut;
}

}  // namespace

std::vector<std::size_t> cutsBetweenRuns(std::string_view text, unsigned threads) {
  // Pieces of about a megabyte keep every thread busy without many of them.
  constexpr std::size_t minimumPiece = 1 << 20;
  const std::size_t pieces = std::min<std::size_t>(threads * 4, text.size() / minimumPiece);
  std::vector<std::size_t> cuts{0};
  if (threads > 1 && pieces > 1) {
    for (std::size_t i = 1; i < pieces; ++i) {
      const std::size_t target = std::max(text.size() / pieces * i, cuts.back());
      if (target >= text.size()) break;
      const std::size_t cut = nextCutBetweenRuns(text, target, text.size() / pieces / 8);
      if (cut >= text.size()) break;
      if (cut > cuts.back()) cuts.push_back(cut);
    }
  }
  cuts.push_back(text.size());
  return cuts;
}

}  // namespace brindlewort
