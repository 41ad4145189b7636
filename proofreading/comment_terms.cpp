#include "proofreading/comment_terms.h"

#include <functional>

namespace brindlewort {
namespace {

// Shorter words have a known word one slip away almost always, so the
// guard against copied typos would not hold for them.
constexpr std::size_t shortestTerm = 5;
constexpr std::size_t longestTerm = 40;

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A letter run glued to a digit, an underscore or a byte of another script
// is part of a name or of a word the dictionary judges another way.
bool gluesToWord(char c) { return (c >= '0' && c <= '9') || c == '_' || static_cast<unsigned char>(c) >= 0x80; }

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") + 1 - first);
}

}  // namespace

void CommentTermCounter::addFile(std::string_view text, const CommentMap& lines) {
  inThisFile_.clear();
  std::size_t begin = 0;
  std::string word;
  for (const CommentFacts& facts : lines) {
    if (begin > text.size()) break;
    const std::size_t newline = text.find('\n', begin);
    const std::string_view line = text.substr(begin, newline == std::string_view::npos ? std::string_view::npos
                                                                                         : newline - begin);
    begin = newline == std::string_view::npos ? text.size() + 1 : newline + 1;
    const std::size_t from = static_cast<std::size_t>(facts.markerAt) + facts.markerSize;
    if (!facts.isWholeLine() || from >= line.size()) continue;
    const std::string_view comment = line.substr(from);
    const std::size_t sentence = std::hash<std::string_view>{}(trimmed(comment));
    for (std::size_t at = 0; at < comment.size();) {
      if (!isAsciiLetter(comment[at])) {
        ++at;
        continue;
      }
      std::size_t end = at;
      while (end < comment.size() && isAsciiLetter(comment[end])) ++end;
      const bool glued = (at > 0 && gluesToWord(comment[at - 1])) || (end < comment.size() && gluesToWord(comment[end]));
      const std::size_t length = end - at;
      if (!glued && length >= shortestTerm && length <= longestTerm) {
        word.assign(comment.substr(at, length));
        for (char& c : word)
          if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        Uses& uses = uses_[word];
        if (uses.times == 0) {
          uses.firstLine = sentence;
        } else if (sentence != uses.firstLine) {
          uses.inOtherLines = true;
        }
        ++uses.times;
        if (inThisFile_.insert(word).second) ++uses.files;
      }
      at = end;
    }
  }
}

AcceptedWords CommentTermCounter::sharedTerms() const {
  AcceptedWords terms;
  // Three files make a term, if it stands in lines of different words: a
  // typo copied with its sentence (a licence header's) is still one typo.
  // In two files a word used once in each may be such a copy too; a third
  // use shows intent.
  for (const auto& [word, uses] : uses_)
    if (uses.inOtherLines && (uses.files >= 3 || (uses.files == 2 && uses.times >= 3))) terms.add(word);
  return terms;
}

}  // namespace brindlewort
