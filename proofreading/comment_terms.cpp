#include "proofreading/comment_terms.h"

#include <functional>
#include <vector>

namespace brindlewort {
namespace {

// Shorter words have a known word one slip away almost always, so the
// guard against copied typos would not hold for them.
constexpr std::size_t shortestTerm = 5;
constexpr std::size_t longestTerm = 40;
// Words of a line that tell its sentence apart: "'s" or "x" do not.
constexpr std::size_t shortestContextWord = 3;

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A letter run glued to a digit, an underscore or a byte of another script
// is part of a name or of a word the dictionary judges another way.
bool gluesToWord(char c) { return (c >= '0' && c <= '9') || c == '_' || static_cast<unsigned char>(c) >= 0x80; }

}  // namespace

void CommentTermCounter::addFile(std::string_view text, const CommentMap& lines) {
  inThisFile_.clear();
  std::size_t begin = 0;
  struct Found {
    std::string word;  // lower-case
    std::size_t hash;
    bool term;  // long enough and not glued to a name
  };
  std::vector<Found> found;
  std::unordered_map<std::size_t, std::size_t> timesInLine;
  for (const CommentFacts& facts : lines) {
    if (begin > text.size()) break;
    const std::size_t newline = text.find('\n', begin);
    const std::string_view line = text.substr(begin, newline == std::string_view::npos ? std::string_view::npos
                                                                                         : newline - begin);
    begin = newline == std::string_view::npos ? text.size() + 1 : newline + 1;
    const std::size_t from = static_cast<std::size_t>(facts.markerAt) + facts.markerSize;
    if (!facts.isWholeLine() || from >= line.size()) continue;
    const std::string_view comment = line.substr(from);
    found.clear();
    // The line's other words tell one sentence from another: their hashes
    // are summed, so a word's context is the sum less its own.
    std::size_t wordsOfLine = 0;
    for (std::size_t at = 0; at < comment.size();) {
      if (!isAsciiLetter(comment[at])) {
        ++at;
        continue;
      }
      std::size_t end = at;
      while (end < comment.size() && isAsciiLetter(comment[end])) ++end;
      const std::size_t length = end - at;
      if (length >= shortestContextWord && length <= longestTerm) {
        const bool glued = (at > 0 && gluesToWord(comment[at - 1])) || (end < comment.size() && gluesToWord(comment[end]));
        std::string word(comment.substr(at, length));
        for (char& c : word)
          if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        const std::size_t hash = std::hash<std::string>{}(word);
        wordsOfLine += hash;
        found.push_back({std::move(word), hash, !glued && length >= shortestTerm});
      }
      at = end;
    }
    timesInLine.clear();
    for (const Found& f : found) ++timesInLine[f.hash];
    for (const Found& f : found) {
      if (!f.term) continue;
      const std::size_t context = wordsOfLine - timesInLine[f.hash] * f.hash;
      Uses& uses = uses_[f.word];
      if (uses.times == 0) {
        uses.firstContext = context;
      } else if (context != uses.firstContext) {
        uses.inOtherSentences = true;
      }
      ++uses.times;
      if (inThisFile_.insert(f.word).second) ++uses.files;
    }
  }
}

AcceptedWords CommentTermCounter::sharedTerms() const {
  AcceptedWords terms;
  // Three files make a term, if it stands among different words: a typo
  // copied with its sentence (a licence header's) is still one typo.
  // In two files a word used once in each may be such a copy too; a third
  // use shows intent.
  for (const auto& [word, uses] : uses_)
    if (uses.inOtherSentences && (uses.files >= 3 || (uses.files == 2 && uses.times >= 3))) terms.add(word);
  return terms;
}

}  // namespace brindlewort
