#include "reflow/paragraph_reflow.h"

#include <algorithm>
#include <deque>
#include <string_view>

#include "base/large_buffer.h"
#include "base/space_or_tab.h"
#include "engine/characters.h"
#include "reflow/comment_vocabulary.h"

namespace brindlewort {
namespace {

struct Word {
  std::string_view text;
  std::string_view gap;  // the blanks in front of it where it stood
  std::size_t width = 0;
};


// A blank run is a break only when it stands alone as characters: a space
// followed by a joining or combining mark, or after a prepended mark, is
// part of a larger character.
bool blanksBreak(std::string_view text, std::size_t start, std::size_t end) {
  // Between ASCII characters, as most are, blanks always break.
  if ((start == 0 || static_cast<unsigned char>(text[start - 1]) < 0x80) &&
      (end >= text.size() || static_cast<unsigned char>(text[end]) < 0x80))
    return true;
  return isStandaloneBlank(text, start) && isStandaloneBlank(text, end - 1);
}

// The words still to be placed, with the blanks before each, read from the
// paragraph's texts only as far as the line being built needs. A paragraph
// of one 5 MB line then holds a line's worth of words at a time, not all of
// them.
class WordQueue {
 public:
  explicit WordQueue(const TextWidth& measure) : measure_(measure) {}

  // Queues a text's words after those queued so far. When words are still
  // waiting, the text's first word is set off from them by one space, as a
  // word carried into the next line is; otherwise blanks that open the
  // text count as its first word's gap.
  void addText(std::string_view text) {
    if (text.empty()) return;
    const bool setOff = !empty();
    texts_.push_back({text, setOff ? std::string_view(" ") : std::string_view(), 0, setOff});
  }

  // Whether at least n words remain, reading on as far as needed.
  bool has(std::size_t n) {
    while (words_.size() < n) {
      if (!readWord()) return false;
    }
    return true;
  }
  bool empty() { return !has(1); }
  // How many words remain; reads the texts to their ends.
  std::size_t size() {
    while (readWord()) {
    }
    return words_.size();
  }

  const Word& operator[](std::size_t i) const { return words_[i]; }
  // The words read so far that are still waiting.
  const std::deque<Word>& read() const { return words_; }
  void drop(std::size_t count) {
    words_.erase(words_.begin(), words_.begin() + static_cast<std::ptrdiff_t>(count));
  }
  void pushFront(const Word& word) { words_.push_front(word); }

 private:
  struct Text {
    std::string_view text;
    std::string_view gap;  // the blanks in front of the next word
    std::size_t at = 0;    // where the next word starts
    bool setOff = false;
  };

  // Reads the next word into words_; false when the texts are used up.
  bool readWord() {
    while (!texts_.empty()) {
      Text& source = texts_.front();
      const std::string_view text = source.text;
      std::size_t at = source.at;
      while (at < text.size()) {
        if (!isSpaceOrTab(text[at])) {
          ++at;
          continue;
        }
        std::size_t end = at;
        while (end < text.size() && isSpaceOrTab(text[end])) ++end;
        if (end == text.size() || !blanksBreak(text, at, end)) {
          at = end;
          continue;
        }
        const std::size_t wordStart = source.at;
        source.at = end;
        if (at > wordStart) {
          push(source, text.substr(wordStart, at - wordStart));
          source.gap = text.substr(at, end - at);
          return true;
        }
        if (!source.setOff) source.gap = text.substr(at, end - at);
        at = end;
      }
      const std::size_t wordStart = source.at;
      if (text.size() > wordStart) push(source, text.substr(wordStart));
      texts_.pop_front();
      if (text.size() > wordStart) return true;
    }
    return false;
  }

  void push(const Text& source, std::string_view word) {
    words_.push_back({word, source.gap, measure_.of(word)});
  }

  const TextWidth& measure_;
  std::deque<Text> texts_;
  std::deque<Word> words_;
};

// A word that ends a sentence: a full stop, question or exclamation mark,
// maybe inside closing quotes or brackets.
bool endsSentence(std::string_view word) {
  while (!word.empty() && (word.back() == ')' || word.back() == '"' || word.back() == '\'' || word.back() == ']'))
    word.remove_suffix(1);
  return !word.empty() && (word.back() == '.' || word.back() == '?' || word.back() == '!');
}

bool opensSentence(std::string_view word) { return !word.empty() && word[0] >= 'A' && word[0] <= 'Z'; }

// Calls visit(word) for each word of a text, in order.
template <typename Visit>
void forEachWord(std::string_view text, Visit visit) {
  std::size_t wordStart = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (!isSpaceOrTab(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && isSpaceOrTab(text[end])) ++end;
    if (end < text.size() && blanksBreak(text, at, end)) {
      if (at > wordStart) visit(text.substr(wordStart, at - wordStart), text.substr(at, end - at));
      wordStart = end;
    }
    at = end;
  }
  if (text.size() > wordStart) visit(text.substr(wordStart), std::string_view());
}

std::string_view trimmedEnd(std::string_view text) {
  while (!text.empty() && isSpaceOrTab(text.back())) text.remove_suffix(1);
  return text;
}

class ParagraphLines {
 public:
  ParagraphLines(const std::vector<CommentLine>& lines, const Paragraph& paragraph,
                 const ReflowSettings& settings)
      : lines_(lines), paragraph_(paragraph), settings_(settings) {
    const CommentLine& first = lines[paragraph.first];
    if (paragraph.count > 1) {
      continuationPrefix_ = std::string(prefixOf(paragraph.first + 1));
    } else {
      continuationPrefix_ = std::string(first.lead) + std::string(first.marker) +
                            std::string(paragraph.hang, ' ');
    }
    touchesMarker_ = paragraph.hang == 0;
    if (const CommentSyntax* syntax = lineSyntaxOf(first.marker)) syntax_ = syntax;
    const std::size_t next = paragraph.first + paragraph.count;
    const std::size_t continuationIndent =
        paragraph.count > 1 ? lines[paragraph.first + 1].textOffset : paragraph.hang;
    nextLineDeeper_ = next < lines.size() && !lines[next].hasNoText() &&
                      lines[next].textOffset > continuationIndent;
    if (settings.mode != ReflowMode::wrap) {
      // Only a paragraph with a gap wider than a space may use two.
      wideGaps_ = paragraph.wideGaps;
      twoSpaced_ = wideGaps_ && usesTwoSpaces();
    }
  }

  // The blanks set between two words when a paragraph is filled or joined:
  // two after a sentence's end in a paragraph that uses two throughout,
  // else one.
  std::string_view gapBetween(std::string_view before, std::string_view after) const {
    return twoSpaced_ && endsSentence(before) && opensSentence(after) ? "  " : " ";
  }

  std::string_view prefixOf(std::size_t index) const {
    const CommentLine& line = lines_[index];
    if (index == paragraph_.first) return line.line.substr(0, paragraph_.firstTextStart);
    return line.line.substr(0, line.lead.size() + line.marker.size() + line.textOffset);
  }
  std::string_view textOf(std::size_t index) const {
    return trimmedEnd(lines_[index].line.substr(prefixOf(index).size()));
  }
  std::string_view original(std::size_t index) const { return lines_[index].line; }
  const std::string& continuationPrefix() const { return continuationPrefix_; }
  // The line after the paragraph is indented deeper than its continuation
  // lines: a last line of one word would read as a step above it.
  bool nextLineDeeper() const { return nextLineDeeper_; }
  bool touchesMarker() const { return touchesMarker_; }
  const CommentSyntax& syntax() const { return *syntax_; }
  // Some gap between words is wider than one space: joining then sets the
  // gaps anew.
  bool wideGaps() const { return wideGaps_; }
  bool twoSpaced() const { return twoSpaced_; }
  void useOneSpace() { twoSpaced_ = false; }

  // Whether every sentence that ends inside a line is followed by two or
  // more blanks, and at least one is.
  bool usesTwoSpaces() const {
    bool two = false, one = false;
    for (std::size_t i = paragraph_.first; i < paragraph_.first + paragraph_.count && !one; ++i) {
      std::string_view before;
      std::size_t beforeGap = 0;
      forEachWord(textOf(i), [&](std::string_view word, std::string_view gap) {
        if (!before.empty() && endsSentence(before) && opensSentence(word)) {
          (beforeGap >= 2 ? two : one) = true;
        }
        before = word;
        beforeGap = gap.size();
      });
    }
    return two && !one;
  }

  // Too little room after the prefixes to re-flow sensibly: such a
  // paragraph would turn into a column of single words.
  bool tooNarrow() const {
    if (settings_.width == unlimitedWidth || !settings_.roomRule) return false;
    const std::size_t prefix = std::max(settings_.measure.of(prefixOf(paragraph_.first)),
                                        settings_.measure.of(continuationPrefix_));
    const std::size_t room = settings_.width > prefix ? settings_.width - prefix : 0;
    return room < std::min<std::size_t>(20, settings_.width / 2);
  }

  bool fits(std::size_t index) const {
    if (settings_.width == unlimitedWidth) return true;
    const CommentLine& line = lines_[index];
    return settings_.measure.of(trimmedEnd(line.line)) <= settings_.width;
  }

  // How many of the first words go on a line after `prefix`: as many as fit,
  // at least one, and never so that the next line would open with a word
  // that changes what the line is.
  std::size_t wordsForLine(std::string_view prefix, WordQueue& words, bool normalGaps) const {
    std::size_t fitting = 0;
    if (settings_.width == unlimitedWidth) {
      fitting = words.size();
    } else {
      std::size_t column = settings_.measure.of(prefix);
      for (std::size_t i = 0; words.has(i + 1); ++i) {
        if (i > 0)
          column = normalGaps ? column + gapBetween(words[i - 1].text, words[i].text).size()
                              : settings_.measure.advance(column, words[i].gap);
        column += words[i].width;
        if (column > settings_.width) break;
        fitting = i + 1;
      }
    }
    auto safeCut = [&](std::size_t k) {
      return !words.has(k + 1) ||
             (canOpenLine(words[k].text, touchesMarker_, *syntax_) && canCloseLine(words[k - 1].text));
    };
    for (std::size_t k = std::max<std::size_t>(fitting, 1); k >= 1; --k) {
      if (words.has(k) && safeCut(k)) return k;
    }
    for (std::size_t k = std::max<std::size_t>(fitting, 1) + 1; words.has(k + 1); ++k) {
      if (safeCut(k)) return k;
    }
    return words.size();
  }

  // The first `count` words, set apart by their own gaps or by the
  // paragraph's spacing.
  template <typename Words>
  void appendJoined(std::string& out, const Words& words, std::size_t count, bool normalGaps) const {
    for (std::size_t i = 0; i < count; ++i) {
      if (i > 0) out += normalGaps ? gapBetween(words[i - 1].text, words[i].text) : words[i].gap;
      out += words[i].text;
    }
  }

 private:
  const std::vector<CommentLine>& lines_;
  const Paragraph& paragraph_;
  const ReflowSettings& settings_;
  std::string continuationPrefix_;
  bool touchesMarker_ = false;
  const CommentSyntax* syntax_ = &slashComments;  // the family of the paragraph's marker
  bool twoSpaced_ = false;
  bool wideGaps_ = false;
  bool nextLineDeeper_ = false;
};

// Whether the last word of a line may move down to join a lone word on the
// next line: the line keeps two words or more, and neither the line nor
// the next would change what it reads as. Lines a wrap breaks are short of
// the width already, so the two words fit.
template <typename Words>
bool mayGiveLastWord(const ParagraphLines& paragraph, const Words& line) {
  return line.size() >= 3 && canOpenLine(line.back().text, paragraph.touchesMarker(), paragraph.syntax()) &&
         canCloseLine(line[line.size() - 2].text);
}

// Room for a paragraph's lines once re-flowed: its bytes, and a prefix for
// each line that breaking at the width may add.
std::size_t reflowedSize(const ParagraphLines& paragraph, const Paragraph& where,
                         const ReflowSettings& settings) {
  std::size_t bytes = 0;
  for (std::size_t i = where.first; i < where.first + where.count; ++i) bytes += paragraph.original(i).size();
  if (settings.width != unlimitedWidth && settings.width > 0)
    bytes += bytes / settings.width * paragraph.continuationPrefix().size();
  return bytes;
}

std::optional<PackedLines> wrapOverflowing(const ParagraphLines& paragraph, const Paragraph& where,
                                           const ReflowSettings& settings) {
  PackedLines out;
  out.reserve(reflowedSize(paragraph, where, settings));
  WordQueue pending(settings.measure);
  bool changed = false;
  // The words and prefix of the last line made, while words are carried.
  std::deque<Word> lastWords;
  std::string_view lastPrefix;
  for (std::size_t i = where.first; i < where.first + where.count; ++i) {
    const std::string_view prefix = paragraph.prefixOf(i);
    const bool carried = !pending.empty();
    if (!carried && paragraph.fits(i)) {
      out.add(paragraph.original(i));
      continue;
    }
    pending.addText(paragraph.textOf(i));
    const std::size_t take = paragraph.wordsForLine(prefix, pending, false);
    if (!carried && !pending.has(take + 1)) {
      // Over-long but nothing to break at: the line stays as it was.
      pending.drop(take);
      out.add(paragraph.original(i));
      continue;
    }
    out.openLine() += prefix;
    paragraph.appendJoined(out.openLine(), pending, take, false);
    out.closeLine();
    if (paragraph.nextLineDeeper()) {
      lastWords.assign(pending.read().begin(), pending.read().begin() + static_cast<std::ptrdiff_t>(take));
      lastPrefix = prefix;
    }
    pending.drop(take);
    changed = true;
  }
  bool balanced = false;
  while (!pending.empty() && out.bytes() <= settings.sizeLimit) {
    const std::string& prefix = paragraph.continuationPrefix();
    std::size_t take = paragraph.wordsForLine(prefix, pending, false);
    if (take == 1 && !pending.has(2) && paragraph.nextLineDeeper() && !balanced &&
        mayGiveLastWord(paragraph, lastWords)) {
      // One word left above a deeper line: the line before gives it its
      // last word, so that no step forms.
      balanced = true;
      out.dropLast();
      out.openLine() += lastPrefix;
      paragraph.appendJoined(out.openLine(), lastWords, lastWords.size() - 1, false);
      out.closeLine();
      pending.pushFront(lastWords.back());
      take = paragraph.wordsForLine(prefix, pending, false);
    }
    if (paragraph.nextLineDeeper()) {
      lastWords.assign(pending.read().begin(), pending.read().begin() + static_cast<std::ptrdiff_t>(take));
      lastPrefix = prefix;
    }
    out.openLine() += prefix;
    paragraph.appendJoined(out.openLine(), pending, take, false);
    out.closeLine();
    pending.drop(take);
  }
  if (!changed) return std::nullopt;
  return out;
}

template <typename Words>
void addJoined(const ParagraphLines& paragraph, PackedLines& out, std::string_view prefix,
               const Words& words, std::size_t count) {
  out.openLine() += prefix;
  paragraph.appendJoined(out.openLine(), words, count, true);
  out.closeLine();
}

PackedLines fillParagraph(const ParagraphLines& paragraph, const Paragraph& where,
                          const ReflowSettings& settings) {
  WordQueue words(settings.measure);
  for (std::size_t i = where.first; i < where.first + where.count; ++i) words.addText(paragraph.textOf(i));
  PackedLines out;
  out.reserve(reflowedSize(paragraph, where, settings));
  std::string line;  // a candidate last line
  std::string_view prefix = paragraph.prefixOf(where.first);
  std::string_view previousPrefix;
  std::deque<Word> previous;  // the words of the line before
  while (!words.empty() && out.bytes() <= settings.sizeLimit) {
    std::size_t take = paragraph.wordsForLine(prefix, words, true);
    if (!words.has(take + 1) && !out.empty()) {
      // A short last line of marks ("[16])))))") would read as a drawing;
      // words from the line before keep it prose.
      auto lastLine = [&]() -> const std::string& {
        line = prefix;
        paragraph.appendJoined(line, words, words.size(), true);
        return line;
      };
      while (!readsAsProse(splitCommentLine(lastLine())) && previous.size() > 1 &&
             canOpenLine(previous.back().text, paragraph.touchesMarker(), paragraph.syntax()) &&
             canCloseLine(previous[previous.size() - 2].text)) {
        words.pushFront(previous.back());
        previous.pop_back();
        out.dropLast();
        addJoined(paragraph, out, previousPrefix, previous, previous.size());
      }
      // A last line of one word above a deeper line would read as a step:
      // the fewest words from the line before that may move join it.
      if (words.size() == 1 && paragraph.nextLineDeeper()) {
        for (std::size_t k = 1; k + 2 <= previous.size(); ++k) {
          const std::size_t cut = previous.size() - k;
          if (!canOpenLine(previous[cut].text, paragraph.touchesMarker(), paragraph.syntax()) ||
              !canCloseLine(previous[cut - 1].text))
            continue;
          std::string candidate(prefix);
          std::deque<Word> moved(previous.begin() + static_cast<std::ptrdiff_t>(cut), previous.end());
          moved.push_back(words[0]);
          paragraph.appendJoined(candidate, moved, moved.size(), true);
          if (settings.width != unlimitedWidth && settings.measure.of(candidate) > settings.width) break;
          for (std::size_t m = 0; m < k; ++m) {
            words.pushFront(previous.back());
            previous.pop_back();
          }
          out.dropLast();
          addJoined(paragraph, out, previousPrefix, previous, previous.size());
          break;
        }
      }
      take = words.size();
    }
    addJoined(paragraph, out, prefix, words, take);
    previous.assign(words.read().begin(), words.read().begin() + static_cast<std::ptrdiff_t>(take));
    words.drop(take);
    previousPrefix = prefix;
    prefix = paragraph.continuationPrefix();
  }
  return out;
}

PackedLines joinParagraph(const ParagraphLines& paragraph, const Paragraph& where) {
  PackedLines out;
  std::string& line = out.openLine();
  line += paragraph.prefixOf(where.first);
  if (!paragraph.wideGaps()) {
    // Single spaces already: the texts go end to end.
    for (std::size_t i = where.first; i < where.first + where.count; ++i) {
      if (i > where.first) line += ' ';
      line += paragraph.textOf(i);
    }
    out.closeLine();
    return out;
  }
  std::string_view before;
  for (std::size_t i = where.first; i < where.first + where.count; ++i) {
    forEachWord(paragraph.textOf(i), [&](std::string_view word, std::string_view) {
      if (!before.empty()) line += paragraph.gapBetween(before, word);
      line += word;
      before = word;
    });
  }
  out.closeLine();
  return out;
}

}  // namespace

void PackedLines::reserve(std::size_t bytes) { reserveLargeBuffer(text_, bytes); }

// Whether a line of the lines holds two blanks between words.
bool holdsWideGap(const PackedLines& out) {
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (splitCommentLine(out[i]).text().find("  ") != std::string_view::npos) return true;
  }
  return false;
}

std::optional<PackedLines> reflowParagraph(const std::vector<CommentLine>& lines,
                                           const Paragraph& where, const ReflowSettings& settings) {
  ParagraphLines paragraph(lines, where, settings);
  PackedLines out;
  switch (settings.mode) {
    case ReflowMode::wrap:
      if (paragraph.tooNarrow()) return std::nullopt;
      return wrapOverflowing(paragraph, where, settings);
    case ReflowMode::fill:
      if (paragraph.tooNarrow()) return std::nullopt;
      out = fillParagraph(paragraph, where, settings);
      if (paragraph.twoSpaced() && !holdsWideGap(out)) {
        // Every sentence end fell at a line end: filled again, the text
        // would show no two-space gap and be packed with one, so pack it
        // with one now.
        paragraph.useOneSpace();
        out = fillParagraph(paragraph, where, settings);
      }
      break;
    case ReflowMode::unwrap:
      // Joined, a paragraph with too little room could not be wrapped back.
      if (where.count == 1 || paragraph.tooNarrow()) return std::nullopt;
      out = joinParagraph(paragraph, where);
      break;
  }
  // Past the limit the lines are only a part, for the caller to refuse.
  if (out.bytes() > settings.sizeLimit) return out;
  // A line that would read as structure once written would not be re-flowed
  // the next time: such a paragraph is better left as it is.
  for (std::size_t i = 0; i < out.size(); ++i) {
    const CommentLine line = splitCommentLine(out[i]);
    if (!readsAsProse(line) || keptByProject(line.text(), settings.keepPrefixes)) return std::nullopt;
  }
  // Report a change only where the bytes differ.
  if (out.size() == where.count) {
    bool same = true;
    for (std::size_t i = 0; i < out.size() && same; ++i)
      same = out[i] == lines[where.first + i].line;
    if (same) return std::nullopt;
  }
  return out;
}

}  // namespace brindlewort
