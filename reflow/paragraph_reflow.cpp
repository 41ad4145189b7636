#include "reflow/paragraph_reflow.h"

#include <algorithm>
#include <span>
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
  bool glued = false;  // no line may break after it: inside an inline doc tag
};

// An inline doc tag ("{@code a + b}", "{@link Map#get(Object) get}") or a
// markup tag ('<a href="x">') is never split, however the source broke
// it; one never closed holds at most this many words together.
constexpr std::size_t longestInlineTag = 8;


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
  // `glued`: a block's closer that ends the texts stays with the word
  // before it.
  explicit WordQueue(const TextWidth& measure, std::string_view glued = {}) : measure_(measure), glued_(glued) {
    // The buffers of the thread's last queue are taken over: a file of
    // many short paragraphs then allocates for none of them.
    texts_.swap(spare().texts);
    words_.swap(spare().words);
    texts_.clear();
    words_.clear();
  }
  ~WordQueue() {
    texts_.swap(spare().texts);
    words_.swap(spare().words);
  }
  WordQueue(const WordQueue&) = delete;
  WordQueue& operator=(const WordQueue&) = delete;

  // Queues a text's words after those queued so far. When words are still
  // waiting, the text's first word is set off from them by one space, as a
  // word carried into the next line is; otherwise blanks that open the
  // text count as its first word's gap.
  void addText(std::string_view text) {
    if (text.empty()) return;
    const bool setOff = !empty();
    if (nextText_ >= 64 && nextText_ * 2 >= texts_.size()) {
      texts_.erase(texts_.begin(), texts_.begin() + static_cast<std::ptrdiff_t>(nextText_));
      nextText_ = 0;
    }
    texts_.push_back({text, setOff ? std::string_view(" ") : std::string_view(), 0, setOff});
  }

  // Whether at least n words remain, reading on as far as needed.
  bool has(std::size_t n) {
    while (words_.size() - head_ < n) {
      if (!readWord()) return false;
    }
    return true;
  }
  bool empty() { return !has(1); }
  // How many words remain; reads the texts to their ends.
  std::size_t size() {
    while (readWord()) {
    }
    return words_.size() - head_;
  }

  const Word& operator[](std::size_t i) const { return words_[head_ + i]; }
  // The words read so far that are still waiting.
  std::span<const Word> read() const { return std::span<const Word>(words_).subspan(head_); }
  void drop(std::size_t count) {
    head_ += count;
    // The words placed are let go of once they outnumber those waiting, so
    // that a long paragraph keeps a line's worth, not all of it.
    if (head_ >= 64 && head_ * 2 >= words_.size()) {
      words_.erase(words_.begin(), words_.begin() + static_cast<std::ptrdiff_t>(head_));
      head_ = 0;
    }
  }
  void pushFront(const Word& word) {
    if (head_ > 0) words_[--head_] = word;
    else words_.insert(words_.begin(), word);
  }

 private:
  struct Text {
    std::string_view text;
    std::string_view gap;  // the blanks in front of the next word
    std::size_t at = 0;    // where the next word starts
    bool setOff = false;
  };

  // Reads the next word into words_; false when the texts are used up.
  bool readWord() {
    while (nextText_ < texts_.size()) {
      Text& source = texts_[nextText_];
      const std::string_view text = source.text;
      std::size_t at = source.at;
      // The word's bytes or'ed together: below 0x80, it is ASCII without a
      // tab and as wide as it is long.
      unsigned char bytes = 0;
      while (at < text.size()) {
        if (!isSpaceOrTab(text[at])) {
          bytes |= static_cast<unsigned char>(text[at]);
          ++at;
          continue;
        }
        std::size_t end = at;
        while (end < text.size() && isSpaceOrTab(text[end])) {
          if (text[end] == '\t') bytes |= 0x80;
          ++end;
        }
        if (end == text.size() || !blanksBreak(text, at, end) ||
            (!glued_.empty() && text.size() - end == glued_.size() && text.substr(end) == glued_)) {
          at = end;
          continue;
        }
        const std::size_t wordStart = source.at;
        source.at = end;
        if (at > wordStart) {
          push(source, text.substr(wordStart, at - wordStart), bytes < 0x80);
          source.gap = text.substr(at, end - at);
          return true;
        }
        if (!source.setOff) source.gap = text.substr(at, end - at);
        at = end;
      }
      const std::size_t wordStart = source.at;
      if (text.size() > wordStart) push(source, text.substr(wordStart), bytes < 0x80);
      ++nextText_;
      if (text.size() > wordStart) return true;
    }
    return false;
  }

  void push(const Text& source, std::string_view word, bool plainAscii) {
    const std::size_t width = plainAscii ? word.size() : measure_.of(word);
    // Outside a tag, only "{@" anywhere or a '<' in the first two bytes
    // can open one: most words need no walk byte by byte.
    if (braces_ == 0 && !inMarkup_ && std::find(word.begin(), word.end(), '{') == word.end() &&
        !(word.size() > 0 && word[0] == '<') && !(word.size() > 1 && word[1] == '<')) {
      gluedWords_ = 0;
      words_.push_back({word, source.gap, width, false});
      return;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
      const char next = i + 1 < word.size() ? word[i + 1] : ' ';
      if (word[i] == '{' && next == '@') ++braces_;
      else if (word[i] == '}' && braces_ > 0) --braces_;
      // A markup tag opens a word ("<a", "(<a"), not a quoted one.
      else if (word[i] == '<' && (i == 0 || (i == 1 && word[0] == '(')) &&
               ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/'))
        inMarkup_ = true;
      else if (word[i] == '>') inMarkup_ = false;
    }
    const bool open = braces_ > 0 || inMarkup_;
    gluedWords_ = open ? gluedWords_ + 1 : 0;
    if (gluedWords_ > longestInlineTag) {
      braces_ = gluedWords_ = 0;
      inMarkup_ = false;
    }
    words_.push_back({word, source.gap, width, braces_ > 0 || inMarkup_});
  }

  struct Buffers {
    std::vector<Text> texts;
    std::vector<Word> words;
  };
  static Buffers& spare() {
    thread_local Buffers buffers;
    return buffers;
  }

  const TextWidth& measure_;
  std::string_view glued_;
  std::size_t braces_ = 0;      // inline doc tags open after the words read
  bool inMarkup_ = false;       // inside a markup tag's attributes ("<a href=...>")
  std::size_t gluedWords_ = 0;  // words read since the oldest of them opened
  std::vector<Text> texts_;
  std::size_t nextText_ = 0;  // the texts before it are read
  // The words read, in a vector rather than a deque: those before head_
  // are placed already.
  std::vector<Word> words_;
  std::size_t head_ = 0;
};

// A word that ends a sentence: a full stop, question or exclamation mark,
// maybe inside closing quotes or brackets.
bool endsSentence(std::string_view word) {
  while (!word.empty() && (word.back() == ')' || word.back() == '"' || word.back() == '\'' || word.back() == ']'))
    word.remove_suffix(1);
  return !word.empty() && (word.back() == '.' || word.back() == '?' || word.back() == '!');
}

bool opensSentence(std::string_view word) { return !word.empty() && word[0] >= 'A' && word[0] <= 'Z'; }

// Calls visit(word) for each word of a text, in order. A `glued` closer
// that ends the text is one word with the word before it.
template <typename Visit>
void forEachWord(std::string_view text, Visit visit, std::string_view glued = {}) {
  std::size_t wordStart = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (!isSpaceOrTab(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && isSpaceOrTab(text[end])) ++end;
    const bool beforeCloser = !glued.empty() && text.size() - end == glued.size() && text.substr(end) == glued;
    if (end < text.size() && blanksBreak(text, at, end) && !beforeCloser) {
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

// A mark that may close a sentence after its full stop.
bool isClosingMark(char ch) { return ch == ')' || ch == '"' || ch == '\'' || ch == ']'; }

// Whether `line` ends where the next line's first word would have fitted
// after one blank but not after two.
bool brokenForTwoBlanks(const CommentLine& line, const CommentLine& next, const ReflowSettings& settings) {
  if (settings.width == unlimitedWidth || next.hasNoText()) return false;
  const std::string_view text = next.body.substr(next.textOffset);
  const std::string_view word = text.substr(0, blankFrom(text));
  if (!opensSentence(word)) return false;
  const std::size_t end = settings.measure.of(trimmedEnd(line.line)) + settings.measure.of(word);
  return end + 1 <= settings.width && end + 2 > settings.width;
}

class ParagraphLines {
 public:
  ParagraphLines(const std::vector<CommentLine>& lines, const Paragraph& paragraph,
                 const ReflowSettings& settings)
      : lines_(lines), paragraph_(paragraph), settings_(settings), hang_(paragraph.hang) {
    const CommentLine& first = lines[paragraph.first];
    firstMarkerEnd_ = first.lead.size() + first.marker.size();
    if (paragraph.count > 1 && !(paragraph.tagged && settings.mode != ReflowMode::wrap)) {
      continuationPrefix_ = std::string(prefixOf(paragraph.first + 1));
      const CommentLine& second = lines[paragraph.first + 1];
      continuationMarkerEnd_ = second.lead.size() + second.marker.size();
    } else {
      // A tag's lines are filled under its description, whatever the file
      // had, so that filling gives the same from the words alone. A
      // block's first line goes on with the decoration of the line below
      // it; with none there, with the block's decoration one column in
      // (" * "), or under its text.
      const CommentLine& below = lines[paragraph.first + std::min<std::size_t>(paragraph.count - 1, 1)];
      std::string lead(paragraph.count > 1 ? below.line.substr(0, below.lead.size() + below.marker.size())
                       : first.continuation.empty() ? first.line.substr(0, firstMarkerEnd_)
                                                    : first.continuation);
      if (paragraph.count == 1 && first.opensBlock && first.continuation.empty()) lead = loneOpenerLead(first);
      // A long tag or item leaves too little room under its text: the
      // lines go on under the tag instead.
      if (hang_ > first.textOffset && settings.width != unlimitedWidth && settings.roomRule &&
          !hasRoom(settings.measure.of(lead) + hang_) && hasRoom(settings.measure.of(lead) + first.textOffset))
        hang_ = first.textOffset;
      // Text glued to the opener ("/**Names") still goes on set off from
      // the decoration (" * used"), or the decoration would join its word.
      if (hang_ == 0 && first.decoration != 0 && !lead.empty() && lead.back() == first.decoration) hang_ = 1;
      continuationPrefix_ = lead + std::string(hang_, ' ');
      continuationMarkerEnd_ = lead.size();
    }
    closer_ = lines[paragraph.first + paragraph.count - 1].closer;
    decoration_ = lines[paragraph.first].decoration;
    touchesMarker_ = hang_ == 0;
    if (const CommentSyntax* syntax = lineSyntaxOf(first.marker)) syntax_ = syntax;
    const std::size_t next = paragraph.first + paragraph.count;
    const std::size_t continuationIndent =
        paragraph.count > 1 ? lines[paragraph.first + 1].textOffset : hang_;
    nextLineDeeper_ = next < lines.size() && !lines[next].hasNoText() &&
                      lines[next].textOffset > continuationIndent;
    if (settings.mode != ReflowMode::wrap) {
      // Two blanks after a sentence where the paragraph shows them and no
      // single one, else where its run does; then joining sets gaps anew.
      const SentenceSpacing spacing =
          paragraph.spacingKnown ? SentenceSpacing{paragraph.twoSpaced, paragraph.oneSpaced}
                                 : sentenceSpacing(lines, paragraph, settings);
      twoSpaced_ = spacing.two ? !spacing.one : !spacing.one && paragraph.twoSpacedRun;
      wideGaps_ = paragraph.wideGaps || twoSpaced_;
    }
  }

  // The lead of the lines that go on from a block's first line with none
  // below it. A block without decoration goes on under its text, or where
  // its lines stand: a docstring's under its quotes.
  static std::string loneOpenerLead(const CommentLine& first) {
    std::string lead(first.lead);
    if (first.decorated) lead += std::string{' ', first.decoration};
    else if (!first.underOpener) lead += std::string(first.marker.size(), ' ');
    return lead;
  }

  // Whether a block's first paragraph, joined into its first line, would go
  // on as it does now once filled again. The lines below it may be all that
  // says how the block goes on: joined, a block without decoration whose
  // closer stands alone one column in (" */") would read as decorated, and
  // a decorated one whose other lines are code would read as plain.
  bool joinedOpenerGoesOnAlike() const {
    const CommentLine& first = lines_[paragraph_.first];
    if (!first.opensBlock || paragraph_.count < 2) return true;
    if (first.decoration != 0) {
      const std::size_t after = paragraph_.first + paragraph_.count;
      bool decorationStays = !first.decorated && after < lines_.size();
      for (std::size_t i = after; i < lines_.size() && !decorationStays; ++i)
        decorationStays = lines_[i].marker.find(first.decoration) != std::string_view::npos;
      if (!decorationStays) return false;
    }
    const CommentLine& second = lines_[paragraph_.first + 1];
    return second.line.substr(0, second.lead.size() + second.marker.size()) == loneOpenerLead(first);
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
  std::string_view closer() const { return closer_; }

  // A line the re-flow made, taken apart as the paragraph's lines are: the
  // first has the first line's marker, the others the continuation's, and
  // the last ends with the closer, if any.
  CommentLine partsOf(std::string_view line, bool first, bool last) const {
    CommentFacts facts;
    const std::size_t markerEnd = std::min(line.size(), first ? firstMarkerEnd_ : continuationMarkerEnd_);
    std::size_t lead = 0;
    while (lead < markerEnd && isSpaceOrTab(line[lead])) ++lead;
    facts.markerAt = static_cast<std::uint32_t>(lead);
    facts.markerSize = static_cast<std::uint8_t>(markerEnd - lead);
    if (last && !closer_.empty() && trimmedEnd(line).ends_with(closer_))
      facts.closerSize = static_cast<std::uint8_t>(closer_.size());
    return splitCommentLine(line, facts);
  }
  // The line after the paragraph is indented deeper than its continuation
  // lines: a last line of one word would read as a step above it.
  bool nextLineDeeper() const { return nextLineDeeper_; }
  bool touchesMarker() const { return touchesMarker_; }
  const CommentSyntax& syntax() const { return *syntax_; }
  // Some gap between words is wider than one space: joining then sets the
  // gaps anew.
  bool wideGaps() const { return wideGaps_; }

  // Too little room after the prefixes to re-flow sensibly: such a
  // paragraph would turn into a column of single words.
  bool tooNarrow() const {
    if (settings_.width == unlimitedWidth || !settings_.roomRule) return false;
    // The first line's item or tag is text here: only the lines after it
    // could turn into a column.
    const CommentLine& first = lines_[paragraph_.first];
    const std::string_view firstLead = first.line.substr(0, firstMarkerEnd_ + first.textOffset);
    return !hasRoom(std::max(settings_.measure.of(firstLead), settings_.measure.of(continuationPrefix_)));
  }

  // Whether a prefix this wide leaves room enough for text.
  bool hasRoom(std::size_t prefix) const {
    const std::size_t room = settings_.width > prefix ? settings_.width - prefix : 0;
    return room >= std::min<std::size_t>(20, settings_.width / 2);
  }

  bool fits(std::size_t index) const {
    if (settings_.width == unlimitedWidth) return true;
    return settings_.measure.fitsIn(trimmedEnd(lines_[index].line), settings_.width);
  }

  // Whether a line may end after `before` and the next open with `after`:
  // neither would change what it reads as, no inline tag is split, and in
  // a block comment no word that opens with its decoration starts a line.
  bool mayBreakBetween(const Word& before, const Word& after) const {
    return !before.glued && canOpenLine(withoutCloser(after.text), touchesMarker_, *syntax_) &&
           canCloseLine(before.text) &&
           (decoration_ == 0 || after.text.empty() || after.text.front() != decoration_);
  }

  // A word without the block's closer glued to its end ("entry. */"): the
  // closer is no part of what the word reads as.
  std::string_view withoutCloser(std::string_view word) const {
    if (closer_.empty() || !word.ends_with(closer_) || word.size() == closer_.size()) return word;
    return trimmedEnd(word.substr(0, word.size() - closer_.size()));
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
                   : words[i].gap == " " ? column + 1
                                         : settings_.measure.advance(column, words[i].gap);
        column += words[i].width;
        if (column > settings_.width) break;
        fitting = i + 1;
      }
    }
    auto safeCut = [&](std::size_t k) {
      return !words.has(k + 1) ||
             mayBreakBetween(words[k - 1], words[k]);
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
  std::size_t hang_;  // characters after the marker on continuation lines
  std::string continuationPrefix_;
  std::size_t firstMarkerEnd_ = 0;         // bytes of lead and marker on the first line
  std::size_t continuationMarkerEnd_ = 0;  // and on the lines that go on from it
  std::string_view closer_;
  char decoration_ = 0;  // a block comment's decoration byte
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
  return line.size() >= 3 && paragraph.mayBreakBetween(line[line.size() - 2], line.back());
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
  WordQueue pending(settings.measure, paragraph.closer());
  bool changed = false;
  // The words and prefix of the last line made, while words are carried.
  std::vector<Word> lastWords;
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

// How many words go on a line that is not the paragraph's last, given
// that `take` fit: fewer, or failing that more, when the line would read as
// code or structure once written ("state = dfa.start" from words of a
// sentence).
std::size_t proseTake(const ParagraphLines& paragraph, std::string_view prefix, WordQueue& words,
                      std::size_t take, bool first, const ReflowSettings& settings) {
  std::string line;
  auto readsWell = [&](std::size_t count) {
    line = prefix;
    paragraph.appendJoined(line, words, count, true);
    const CommentLine parts = paragraph.partsOf(line, first, false);
    return readsAsProse(parts) && !keptByProject(parts.text(), settings.keepPrefixes);
  };
  if (readsWell(take)) return take;
  for (std::size_t k = take - 1; k >= 1; --k) {
    if (paragraph.mayBreakBetween(words[k - 1], words[k]) && readsWell(k)) return k;
  }
  // A few more words than fit are better than a paragraph left unfilled.
  constexpr std::size_t mostOver = 4;
  for (std::size_t k = take + 1; k <= take + mostOver && words.has(k + 1); ++k) {
    if (paragraph.mayBreakBetween(words[k - 1], words[k]) && readsWell(k)) return k;
  }
  return take;
}

// Whether one of the words is wider than the room after the prefix: a line
// holding it overflows anyway, so the words need not fit.
bool overflowsAnyway(const ReflowSettings& settings, std::string_view prefix, const std::vector<Word>& words) {
  const std::size_t room = settings.width - std::min(settings.width, settings.measure.of(prefix));
  return std::any_of(words.begin(), words.end(), [&](const Word& word) { return word.width > room; });
}

// The paragraph filled greedily; `careful`: each line that is not the last
// is also kept from reading as code or structure.
PackedLines fillParagraph(const ParagraphLines& paragraph, const Paragraph& where,
                          const ReflowSettings& settings, bool careful) {
  WordQueue words(settings.measure, paragraph.closer());
  for (std::size_t i = where.first; i < where.first + where.count; ++i) words.addText(paragraph.textOf(i));
  PackedLines out;
  out.reserve(reflowedSize(paragraph, where, settings));
  std::string line;  // a candidate last line
  std::string_view prefix = paragraph.prefixOf(where.first);
  std::string_view previousPrefix;
  std::vector<Word> previous;  // the words of the line before
  while (!words.empty() && out.bytes() <= settings.sizeLimit) {
    std::size_t take = paragraph.wordsForLine(prefix, words, true);
    if (careful && words.has(take + 1)) take = proseTake(paragraph, prefix, words, take, out.empty(), settings);
    if (!words.has(take + 1) && !out.empty()) {
      // A short last line of marks ("[16])))))") would read as a drawing;
      // words from the line before keep it prose.
      auto lastLine = [&]() -> const std::string& {
        line = prefix;
        paragraph.appendJoined(line, words, words.size(), true);
        return line;
      };
      while (!readsAsProse(paragraph.partsOf(lastLine(), out.empty(), true)) && previous.size() > 1 &&
             paragraph.mayBreakBetween(previous[previous.size() - 2], previous.back())) {
        words.pushFront(previous.back());
        previous.pop_back();
        out.dropLast();
        addJoined(paragraph, out, previousPrefix, previous, previous.size());
      }
      // Moves the fewest words from the end of the line before down to
      // the last line, keeping `keep` words there, where a line may break,
      // the last line fits and accept(last line, words kept) holds.
      auto moveFewestDown = [&](std::size_t keep, auto accept) {
        for (std::size_t k = 1; k + keep <= previous.size(); ++k) {
          const std::size_t cut = previous.size() - k;
          if (!paragraph.mayBreakBetween(previous[cut - 1], previous[cut])) continue;
          std::vector<Word> moved(previous.begin() + static_cast<std::ptrdiff_t>(cut), previous.end());
          moved.insert(moved.end(), words.read().begin(), words.read().end());
          std::string candidate(prefix);
          paragraph.appendJoined(candidate, moved, moved.size(), true);
          if (settings.width != unlimitedWidth && !overflowsAnyway(settings, prefix, moved) &&
              settings.measure.of(candidate) > settings.width)
            return;
          if (!accept(candidate, cut)) continue;
          for (std::size_t m = 0; m < k; ++m) {
            words.pushFront(previous.back());
            previous.pop_back();
          }
          out.dropLast();
          addJoined(paragraph, out, previousPrefix, previous, previous.size());
          return;
        }
      };
      // Careful: as few words as leave both lines prose.
      if (careful && previous.size() > 1 && !readsAsProse(paragraph.partsOf(lastLine(), out.empty(), true))) {
        moveFewestDown(1, [&](const std::string& candidate, std::size_t cut) {
          std::string before(previousPrefix);
          paragraph.appendJoined(before, previous, cut, true);
          return readsAsProse(paragraph.partsOf(candidate, false, true)) &&
                 readsAsProse(paragraph.partsOf(before, out.size() == 1, false));
        });
      }
      // Failing that, the last words go up to the line before, where it
      // overflows anyway ("http://..." then a lone ")").
      if (careful && !previous.empty() && !readsAsProse(paragraph.partsOf(lastLine(), out.empty(), true))) {
        std::vector<Word> merged(previous);
        merged.insert(merged.end(), words.read().begin(), words.read().end());
        std::string candidate(previousPrefix);
        paragraph.appendJoined(candidate, merged, merged.size(), true);
        if ((settings.width == unlimitedWidth || overflowsAnyway(settings, previousPrefix, merged)) &&
            readsAsProse(paragraph.partsOf(candidate, out.size() == 1, true))) {
          for (auto word = previous.rbegin(); word != previous.rend(); ++word) words.pushFront(*word);
          previous.clear();
          out.dropLast();
          prefix = previousPrefix;
        }
      }
      // A last line of one word above a deeper line would read as a step:
      // the fewest words from the line before that may move, and leave it
      // prose, join it.
      if (words.size() == 1 && paragraph.nextLineDeeper()) {
        moveFewestDown(2, [&](const std::string& candidate, std::size_t) {
          return readsAsProse(paragraph.partsOf(candidate, false, true));
        });
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
    forEachWord(
        paragraph.textOf(i),
        [&](std::string_view word, std::string_view) {
          if (!before.empty()) line += paragraph.gapBetween(before, word);
          line += word;
          before = word;
        },
        paragraph.closer());
  }
  out.closeLine();
  return out;
}

// Whether the new lines would make a table with a neighbouring line: a
// field ("default: 0") set beside one that ended up field-shaped too.
bool formsATable(const std::vector<CommentLine>& lines, const Paragraph& where, const ParagraphLines& paragraph,
                 const PackedLines& out) {
  if (out.empty()) return false;
  // As the structure analysis reads it: a tag or an entry is no field.
  auto shaped = [](const CommentLine& line) {
    const std::string_view text = line.text();
    return !line.hasNoText() && !opensWithTag(text) && !opensEntry(text) && fieldShaped(text);
  };
  if (where.first > 0 && shaped(lines[where.first - 1]) && shaped(paragraph.partsOf(out[0], true, out.size() == 1)))
    return true;
  const std::size_t next = where.first + where.count;
  return next < lines.size() && shaped(lines[next]) &&
         shaped(paragraph.partsOf(out[out.size() - 1], out.size() == 1, true));
}

// Whether every line filling makes reads as prose: else filling keeps the
// paragraph as it is.
bool fillsAsProse(const ParagraphLines& paragraph, const PackedLines& out, const ReflowSettings& settings) {
  for (std::size_t i = 0; i < out.size(); ++i) {
    const CommentLine line = paragraph.partsOf(out[i], i == 0, i + 1 == out.size());
    if (!readsAsProse(line) || keptByProject(line.text(), settings.keepPrefixes)) return false;
  }
  return true;
}

}  // namespace

void PackedLines::reserve(std::size_t bytes) { reserveLargeBuffer(text_, bytes); }

SentenceMarks::SentenceMarks(std::string_view text) : text_(text) {
  for (std::size_t k = 0; k < 3; ++k) next_[k] = text.find(".?!"[k]);
}

std::size_t SentenceMarks::next() {
  // Each kind of mark is looked for again only once passed: every search
  // runs on from where the last of its kind stopped.
  std::size_t at = std::min({next_[0], next_[1], next_[2]});
  if (at == std::string_view::npos) return at;
  for (std::size_t k = 0; k < 3; ++k)
    if (next_[k] == at) next_[k] = text_.find(".?!"[k], at + 1);
  return at;
}

SentenceSpacing sentenceSpacing(const std::vector<CommentLine>& lines, const Paragraph& paragraph,
                                const ReflowSettings& settings) {
  SentenceSpacing seen;
  const std::string_view closer = lines[paragraph.first + paragraph.count - 1].closer;
  const std::size_t end = paragraph.first + paragraph.count;
  for (std::size_t i = paragraph.first; i < end && !seen.one; ++i) {
    const CommentLine& line = lines[i];
    const std::size_t prefix =
        i == paragraph.first ? paragraph.firstTextStart : line.lead.size() + line.marker.size() + line.textOffset;
    const std::string_view text = trimmedEnd(line.line.substr(std::min(prefix, line.line.size())));
    // Only the bytes that may end a sentence are looked at.
    SentenceMarks marks(text);
    for (std::size_t at = marks.next(); at != std::string_view::npos; at = marks.next()) {
      std::size_t after = at + 1;
      while (after < text.size() && isClosingMark(text[after])) ++after;
      if (after == text.size()) {
        // The sentence ends the line: a line broken before a sentence
        // that would have fitted after one blank, but not after two, is
        // the mark a fill with two blanks leaves, which filling again must
        // read the same.
        if (i + 1 < end && brokenForTwoBlanks(lines[i], lines[i + 1], settings)) seen.two = true;
        break;
      }
      if (!isSpaceOrTab(text[after]) || at == 0 || isSpaceOrTab(text[at - 1])) continue;
      std::size_t next = after;
      while (next < text.size() && isSpaceOrTab(text[next])) ++next;
      const std::size_t blanks = next - after;
      if (text[next] >= 'A' && text[next] <= 'Z') {
        (blanks >= 2 ? seen.two : seen.one) = true;
      } else if (!closer.empty() && blanks >= 2 && text.substr(next) == closer) {
        // Two blanks before a block's closer ("errors.  */") keep the
        // convention where no other sentence ends inside a line.
        seen.two = true;
      }
    }
  }
  return seen;
}

std::optional<PackedLines> reflowParagraph(const std::vector<CommentLine>& lines,
                                           const Paragraph& where, const ReflowSettings& settings) {
  const ParagraphLines paragraph(lines, where, settings);
  // A block comment of one line is left alone, so one is never made: its
  // lines would not be re-flowed again.
  const bool wholeBlock = lines[where.first].opensBlock && !paragraph.closer().empty();
  if (wholeBlock && settings.mode == ReflowMode::unwrap) return std::nullopt;
  // The same bytes as the paragraph's own lines: no change to report, and
  // nothing to judge.
  auto unchanged = [&](const PackedLines& out) {
    if (out.size() != where.count) return false;
    for (std::size_t i = 0; i < out.size(); ++i) {
      if (out[i] != lines[where.first + i].line) return false;
    }
    return true;
  };
  PackedLines out;
  switch (settings.mode) {
    case ReflowMode::wrap:
      if (paragraph.tooNarrow()) return std::nullopt;
      return wrapOverflowing(paragraph, where, settings);
    case ReflowMode::fill:
      if (paragraph.tooNarrow()) return std::nullopt;
      out = fillParagraph(paragraph, where, settings, false);
      if (out.bytes() > settings.sizeLimit) return out;
      if ((wholeBlock && out.size() == 1) || unchanged(out)) return std::nullopt;
      if (fillsAsProse(paragraph, out, settings)) {
        if (formsATable(lines, where, paragraph, out)) return std::nullopt;
        return out;
      }
      // Where a line of the greedy fill would read as code or structure,
      // the breaks are chosen again line by line, so that filling never
      // has to leave a paragraph as it was: a paragraph joined into one
      // line by unwrap is then always filled back.
      out = fillParagraph(paragraph, where, settings, true);
      break;
    case ReflowMode::unwrap:
      // Joined, a paragraph with too little room could not be wrapped back,
      // nor could a block's first paragraph whose lines below are all that
      // says how the block goes on.
      if (where.count == 1 || paragraph.tooNarrow() || !paragraph.joinedOpenerGoesOnAlike()) return std::nullopt;
      out = joinParagraph(paragraph, where);
      break;
  }
  // Past the limit the lines are only a part, for the caller to refuse.
  if (out.bytes() > settings.sizeLimit) return out;
  if (wholeBlock && out.size() == 1) return std::nullopt;
  if (unchanged(out)) return std::nullopt;
  // A line that would read as structure once written would not be re-flowed
  // the next time: such a paragraph is better left as it is.
  if (!fillsAsProse(paragraph, out, settings) || formsATable(lines, where, paragraph, out)) return std::nullopt;
  return out;
}

}  // namespace brindlewort
