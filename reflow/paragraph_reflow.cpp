#include "reflow/paragraph_reflow.h"

#include <algorithm>
#include <deque>
#include <string_view>

#include "engine/characters.h"
#include "reflow/comment_vocabulary.h"

namespace brindlewort {
namespace {

struct Word {
  std::string_view text;
  std::string_view gap;  // the blanks in front of it where it stood
  std::size_t width = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A blank run is a break only when it stands alone as characters: a space
// followed by a joining or combining mark, or after a prepended mark, is
// part of a larger character.
bool blanksBreak(std::string_view text, std::size_t start, std::size_t end) {
  return isStandaloneBlank(text, start) && isStandaloneBlank(text, end - 1);
}

// The words of a line's text with the blanks before each.
void appendWords(std::string_view text, const TextWidth& measure, std::deque<Word>& out) {
  std::size_t at = 0;
  std::string_view gap;
  std::size_t wordStart = 0;
  while (at < text.size()) {
    if (!isBlank(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && isBlank(text[end])) ++end;
    if (end == text.size() || !blanksBreak(text, at, end)) {
      at = end;
      continue;
    }
    if (at > wordStart) {
      const std::string_view word = text.substr(wordStart, at - wordStart);
      out.push_back({word, gap, measure.of(word)});
    }
    gap = text.substr(at, end - at);
    wordStart = end;
    at = end;
  }
  if (text.size() > wordStart) {
    const std::string_view word = text.substr(wordStart);
    out.push_back({word, gap, measure.of(word)});
  }
}

std::string_view trimmedEnd(std::string_view text) {
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
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
  bool touchesMarker() const { return touchesMarker_; }

  // Too little room after the prefixes to re-flow sensibly: such a
  // paragraph would turn into a column of single words.
  bool tooNarrow() const {
    if (settings_.width == unlimitedWidth) return false;
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
  std::size_t wordsForLine(std::string_view prefix, const std::deque<Word>& words,
                           bool normalGaps) const {
    std::size_t fitting = 0;
    if (settings_.width == unlimitedWidth) {
      fitting = words.size();
    } else {
      std::size_t column = settings_.measure.of(prefix);
      for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) column = normalGaps ? column + 1 : settings_.measure.advance(column, words[i].gap);
        column += words[i].width;
        if (column > settings_.width) break;
        fitting = i + 1;
      }
    }
    auto safeCut = [&](std::size_t k) {
      return k == words.size() ||
             (canOpenLine(words[k].text, touchesMarker_) && canCloseLine(words[k - 1].text));
    };
    for (std::size_t k = std::max<std::size_t>(fitting, 1); k >= 1; --k) {
      if (k <= words.size() && safeCut(k)) return k;
    }
    for (std::size_t k = std::max<std::size_t>(fitting, 1) + 1; k < words.size(); ++k) {
      if (safeCut(k)) return k;
    }
    return words.size();
  }

  static void appendJoined(std::string& out, const std::deque<Word>& words, std::size_t count,
                           bool normalGaps) {
    for (std::size_t i = 0; i < count; ++i) {
      if (i > 0) out += normalGaps ? std::string_view(" ") : words[i].gap;
      out += words[i].text;
    }
  }

 private:
  const std::vector<CommentLine>& lines_;
  const Paragraph& paragraph_;
  const ReflowSettings& settings_;
  std::string continuationPrefix_;
  bool touchesMarker_ = false;
};

std::optional<std::vector<std::string>> wrapOverflowing(const ParagraphLines& paragraph,
                                                        const Paragraph& where,
                                                        const ReflowSettings& settings) {
  std::vector<std::string> out;
  std::deque<Word> pending;
  bool changed = false;
  std::size_t produced = 0;  // bytes of the new lines
  for (std::size_t i = where.first; i < where.first + where.count; ++i) {
    const std::string_view prefix = paragraph.prefixOf(i);
    const std::size_t carried = pending.size();
    if (carried == 0 && paragraph.fits(i)) {
      out.emplace_back(paragraph.original(i));
      continue;
    }
    appendWords(paragraph.textOf(i), settings.measure, pending);
    if (carried > 0 && carried < pending.size()) pending[carried].gap = " ";
    const std::size_t take = paragraph.wordsForLine(prefix, pending, false);
    if (carried == 0 && take == pending.size()) {
      // Over-long but nothing to break at: the line stays as it was.
      pending.clear();
      out.emplace_back(paragraph.original(i));
      continue;
    }
    std::string line(prefix);
    ParagraphLines::appendJoined(line, pending, take, false);
    produced += line.size();
    out.push_back(std::move(line));
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(take));
    changed = true;
  }
  while (!pending.empty() && produced <= settings.sizeLimit) {
    const std::string& prefix = paragraph.continuationPrefix();
    const std::size_t take = paragraph.wordsForLine(prefix, pending, false);
    std::string line(prefix);
    ParagraphLines::appendJoined(line, pending, take, false);
    produced += line.size();
    out.push_back(std::move(line));
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(take));
  }
  if (!changed) return std::nullopt;
  return out;
}

std::string joined(std::string_view prefix, const std::deque<Word>& words, std::size_t count) {
  std::string line(prefix);
  ParagraphLines::appendJoined(line, words, count, true);
  return line;
}

std::vector<std::string> fillParagraph(const ParagraphLines& paragraph, const Paragraph& where,
                                       const ReflowSettings& settings) {
  std::deque<Word> words;
  for (std::size_t i = where.first; i < where.first + where.count; ++i)
    appendWords(paragraph.textOf(i), settings.measure, words);
  std::vector<std::string> out;
  std::string_view prefix = paragraph.prefixOf(where.first);
  std::string_view previousPrefix;
  std::deque<Word> previous;  // the words of the line before
  std::size_t produced = 0;   // bytes of the new lines
  while (!words.empty() && produced <= settings.sizeLimit) {
    std::size_t take = paragraph.wordsForLine(prefix, words, true);
    if (take == words.size() && !out.empty()) {
      // A short last line of marks ("[16])))))") would read as a drawing;
      // words from the line before keep it prose.
      while (!readsAsProse(splitCommentLine(joined(prefix, words, words.size()))) &&
             previous.size() > 1 && canOpenLine(previous.back().text, paragraph.touchesMarker()) &&
             canCloseLine(previous[previous.size() - 2].text)) {
        words.push_front(previous.back());
        previous.pop_back();
        out.back() = joined(previousPrefix, previous, previous.size());
      }
      take = words.size();
    }
    out.push_back(joined(prefix, words, take));
    produced += out.back().size();
    previous.assign(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(take));
    words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(take));
    previousPrefix = prefix;
    prefix = paragraph.continuationPrefix();
  }
  return out;
}

std::vector<std::string> joinParagraph(const ParagraphLines& paragraph, const Paragraph& where) {
  std::string line(paragraph.prefixOf(where.first));
  for (std::size_t i = where.first; i < where.first + where.count; ++i) {
    if (i > where.first) line += ' ';
    line += paragraph.textOf(i);
  }
  return {std::move(line)};
}

}  // namespace

std::optional<std::vector<std::string>> reflowParagraph(const std::vector<CommentLine>& lines,
                                                        const Paragraph& where,
                                                        const ReflowSettings& settings) {
  const ParagraphLines paragraph(lines, where, settings);
  std::vector<std::string> out;
  switch (settings.mode) {
    case ReflowMode::wrap:
      if (paragraph.tooNarrow()) return std::nullopt;
      return wrapOverflowing(paragraph, where, settings);
    case ReflowMode::fill:
      if (paragraph.tooNarrow()) return std::nullopt;
      out = fillParagraph(paragraph, where, settings);
      break;
    case ReflowMode::unwrap:
      if (where.count == 1) return std::nullopt;
      out = joinParagraph(paragraph, where);
      break;
  }
  // Past the limit the lines are only a part, for the caller to refuse.
  std::size_t produced = 0;
  for (const std::string& line : out) produced += line.size();
  if (produced > settings.sizeLimit) return out;
  // A line that would read as structure once written would not be re-flowed
  // the next time: such a paragraph is better left as it is.
  for (const std::string& line : out) {
    if (!readsAsProse(splitCommentLine(line))) return std::nullopt;
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
