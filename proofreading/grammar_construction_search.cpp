#include "proofreading/grammar_construction_search.h"

#include <algorithm>
#include <array>

#include "proofreading/past_participles.h"

namespace brindlewort {
namespace {

// Bytes beyond ASCII belong to words; no listed word has any, so such a
// word only ever matches itself when repeated.
constexpr auto wordBytes = [] {
  std::array<bool, 256> table{};
  for (unsigned c = 0; c < 256; ++c) {
    table[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80;
  }
  return table;
}();

bool isWordByte(unsigned char c) { return wordBytes[c]; }

struct Word {
  std::int64_t start = 0;
  std::int64_t end = 0;
  bool code = false;          // inside backticks
  bool blanksBefore = false;  // only blanks since the word before, on the same line
};

// Reads the words one after another, with an apostrophe or hyphen between
// letters inside the word ("don't", "auto-generated").
class WordReader {
 public:
  explicit WordReader(std::string_view text) : text_(text) {}

  // The next word; false at the end of the text.
  bool next(Word& word) {
    const auto size = static_cast<std::int64_t>(text_.size());
    std::int64_t i = at_;
    for (; i < size; ++i) {
      const unsigned char c = byteAt(i);
      if (isWordByte(c)) break;
      if (c == ' ' || c == '\t') continue;
      if (c == '`') code_ = !code_;
      if (c == '\n') code_ = false;
      blanksOnly_ = false;
    }
    if (i == size) {
      at_ = i;
      return false;
    }
    word = {i, i, code_, blanksOnly_ && !first_};
    while (i < size) {
      const unsigned char c = byteAt(i);
      if (isWordByte(c)) {
        ++i;
      } else if ((c == '\'' || c == '-') && i + 1 < size && isWordByte(byteAt(i + 1))) {
        i += 2;
      } else {
        break;
      }
    }
    word.end = at_ = i;
    blanksOnly_ = true;
    first_ = false;
    return true;
  }

 private:
  unsigned char byteAt(std::int64_t i) const { return static_cast<unsigned char>(text_[static_cast<std::size_t>(i)]); }

  std::string_view text_;
  std::int64_t at_ = 0;
  bool code_ = false;
  bool blanksOnly_ = false;
  bool first_ = true;
};

// Forms of the two auxiliaries, as written inside a sentence or at its start.
constexpr std::array beForms = std::to_array<std::string_view>(
    {"am", "are", "be", "been", "being", "is", "was", "were", "Am", "Are", "Be", "Been", "Being", "Is", "Was",
     "Were"});
constexpr std::array haveForms = std::to_array<std::string_view>(
    {"had", "has", "have", "having", "Had", "Has", "Have", "Having"});

// Words that may stand between the auxiliary and the participle ("is not
// used", "is then called"); so may any adverb in "-ly".
constexpr std::array inBetween = std::to_array<std::string_view>(
    {"all", "already", "also", "always", "both", "just", "never", "not", "now", "often", "only", "still",
     "then", "usually"});

// Repeats that are good English, deliberate or C ("long long").
constexpr std::array rightTwice = std::to_array<std::string_view>(
    {"bye", "do", "etc", "ha", "had", "hee", "ho", "is", "la", "long", "no", "so", "that", "tut", "yes"});

bool mayStartAuxiliary(char c) {
  switch (c) {
    case 'a': case 'b': case 'h': case 'i': case 'w': case 'A': case 'B': case 'H': case 'I': case 'W':
      return true;
    default:
      return false;
  }
}

// Short words compared in place: most words are compared with the lists,
// and a call per comparison would cost more than the comparison.
bool same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

bool oneOf(const auto& list, std::string_view word) {
  return std::any_of(list.begin(), list.end(), [&](std::string_view listed) { return same(listed, word); });
}

bool isAdverbInLy(std::string_view word) {
  return word.size() > 4 && word.ends_with("ly") &&
         std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool allLetters(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'' || c == '-' ||
           static_cast<unsigned char>(c) >= 0x80;
  });
}

class Search {
 public:
  Search(std::string_view text, const GrammarRules& rules) : text_(text), rules_(rules), reader_(text) {}

  std::vector<GrammarMatch> run() {
    std::vector<GrammarMatch> found;
    for (std::size_t i = 0; has(i);) {
      if (at(i).code) {
        ++i;
        continue;
      }
      const std::size_t next = construction(i, found);
      i = next > i ? next : i + 1;
    }
    return found;
  }

 private:
  // The words are read as the search reaches them and kept only as long as
  // it may look back at them: a construction spans at most six words.
  static constexpr std::size_t window = 8;

  bool has(std::size_t i) {
    while (read_ <= i) {
      if (!reader_.next(words_[read_ % window])) return false;
      ++read_;
    }
    return true;
  }

  const Word& at(std::size_t i) const { return words_[i % window]; }

  std::string_view word(std::size_t i) const {
    return text_.substr(static_cast<std::size_t>(at(i).start), static_cast<std::size_t>(at(i).end - at(i).start));
  }

  // Whether word i exists and follows the one before it in the same stretch
  // of prose.
  bool follows(std::size_t i) { return has(i) && at(i).blanksBefore && !at(i).code; }

  // Past one word that may stand between an auxiliary and its participle.
  std::size_t skippingInBetween(std::size_t i) {
    if (follows(i) && follows(i + 1) && (oneOf(inBetween, word(i)) || isAdverbInLy(word(i)))) return i + 1;
    return i;
  }

  bool participleAt(std::size_t i) { return follows(i) && isPastParticiple(word(i)); }

  // A construction starting at word i, added to `found`; returns the word
  // after it, or i when there is none.
  std::size_t construction(std::size_t i, std::vector<GrammarMatch>& found) {
    const std::string_view lead = word(i);
    if (rules_.repeatedWords && repeatedAt(i)) return add(found, i, i + 1, GrammarKind::repeatedWord);
    // Every auxiliary has two to six letters and starts with one of these.
    if (lead.size() < 2 || lead.size() > 6 || !mayStartAuxiliary(lead[0])) return i;
    const bool be = oneOf(beForms, lead);
    const bool have = !be && oneOf(haveForms, lead);
    if (!be && !have) return i;
    std::size_t j = skippingInBetween(i + 1);
    if (have && follows(j) && word(j) == "been") {
      // "has been added" is one passive construction; "has been there" is
      // the perfect tense of "be".
      const std::size_t k = skippingInBetween(j + 1);
      if (participleAt(k)) return ending(found, i, k, GrammarKind::passiveVoice);
      return ending(found, i, j, GrammarKind::perfectTense);
    }
    if (be && follows(j) && word(j) == "being") {
      const std::size_t k = skippingInBetween(j + 1);
      if (participleAt(k)) return ending(found, i, k, GrammarKind::passiveVoice);
      return i;
    }
    if (!participleAt(j)) return i;
    return ending(found, i, j, be ? GrammarKind::passiveVoice : GrammarKind::perfectTense);
  }

  // A construction from word `first` to word `last`, added when its kind is
  // reported; the search goes on after it, or at its last word when that
  // word is written twice ("is done done").
  std::size_t ending(std::vector<GrammarMatch>& found, std::size_t first, std::size_t last, GrammarKind kind) {
    if (rules_.reports(kind)) add(found, first, last, kind);
    return rules_.repeatedWords && repeatedAt(last) ? last : last + 1;
  }

  bool repeatedAt(std::size_t i) {
    if (!follows(i + 1)) return false;
    const std::string_view first = word(i);
    const std::string_view second = word(i + 1);
    if (first.size() != second.size() || !allLetters(first) || !looksLikeProse(first)) return false;
    // The same word, or the first opening a sentence: "The the".
    if (!same(first, second) &&
        !(first.substr(1) == second.substr(1) && first[0] == second[0] - 'a' + 'A' && opensSentence(i)))
      return false;
    // "Moshier moshier@example.org": an address, not a word.
    if (const auto after = static_cast<std::size_t>(at(i + 1).end);
        after < text_.size() && (text_[after] == '@' || text_[after] == '.') && after + 1 < text_.size() &&
        isWordByte(static_cast<unsigned char>(text_[after + 1])))
      return false;
    if (first.size() == 1 && first != "a" && first != "A" && first != "I") return false;  // "x x", "T T"
    if (oneOf(rightTwice, first) || (first.size() > 1 && oneOf(rightTwice, lowered(first)))) return false;
    // "@param name name of the file": a tag's argument, then its text.
    if (i > 0) {
      const auto before = at(i - 1).start;
      if (before > 0 && std::string_view("@\\:").find(text_[static_cast<std::size_t>(before - 1)]) !=
                            std::string_view::npos)
        return false;
    }
    return true;
  }

  // Whether word i may start a sentence: no word, comma or semicolon
  // before it ("and Alice alice" is a name and its handle).
  bool opensSentence(std::size_t i) const {
    std::size_t at = static_cast<std::size_t>(words_[i % window].start);
    while (at > 0 && (text_[at - 1] == ' ' || text_[at - 1] == '\t')) --at;
    if (at == 0) return true;
    const char before = text_[at - 1];
    return !isWordByte(static_cast<unsigned char>(before)) && before != ',' && before != ';';
  }

  // A word of prose: no capital after its first letter ("SYNC", "encodeS"
  // are code).
  static bool looksLikeProse(std::string_view word) {
    return std::none_of(word.begin() + 1, word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  }

  static std::string_view lowered(std::string_view word) {
    // Only the first letter of a listed word may be a capital.
    static thread_local std::string buffer;
    buffer.assign(word);
    if (!buffer.empty() && buffer[0] >= 'A' && buffer[0] <= 'Z') buffer[0] = static_cast<char>(buffer[0] - 'A' + 'a');
    return buffer;
  }

  std::size_t add(std::vector<GrammarMatch>& found, std::size_t first, std::size_t last, GrammarKind kind) const {
    found.push_back({at(first).start, at(last).end, kind});
    return last + 1;
  }

  std::string_view text_;
  const GrammarRules& rules_;
  WordReader reader_;
  std::array<Word, window> words_{};
  std::size_t read_ = 0;  // words read so far
};

}  // namespace

std::vector<GrammarMatch> grammarConstructions(std::string_view text, const GrammarRules& rules) {
  return Search(text, rules).run();
}

}  // namespace brindlewort
