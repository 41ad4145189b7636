#include "reflow/cuts_between_runs.h"

#include <algorithm>

#include "reflow/source_language.h"

namespace brindlewort {
namespace {

// Start of the first line at or after `from` that follows a line feed and
// is no comment line by the line rule, so that no run is cut; text.size()
// when none. Only a first guess: a piece lexed from there goes on until the
// lexer of the text's language is back in plain code.
std::size_t nextCutBetweenRuns(std::string_view text, std::size_t from) {
  std::size_t feed = text.find('\n', from);
  while (feed != std::string_view::npos) {
    const std::size_t start = feed + 1;
    feed = text.find('\n', start);
    const std::string_view line =
        text.substr(start, (feed == std::string_view::npos ? text.size() : feed) - start);
    if (!lineMarkerAt(line, slashComments)) return start;
  }
  return text.size();
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
      const std::size_t cut = nextCutBetweenRuns(text, target);
      if (cut >= text.size()) break;
      if (cut > cuts.back()) cuts.push_back(cut);
    }
  }
  cuts.push_back(text.size());
  return cuts;
}

}  // namespace brindlewort
