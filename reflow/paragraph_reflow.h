#pragma once

// Re-flowing one comment paragraph: breaking only what overflows, filling
// it anew, or joining it into one line. Words and the marks between them
// are never lost: only line breaks and the blanks between words change.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reflow/comment_line_parts.h"
#include "reflow/comment_structure.h"
#include "reflow/text_width.h"

namespace brindlewort {

enum class ReflowMode {
  wrap,    // break only over-long lines, carrying the overflow forward
  fill,    // re-flow the whole paragraph greedily to the width
  unwrap,  // join the paragraph into one line
};

// No width limit.
inline constexpr std::size_t unlimitedWidth = SIZE_MAX;

struct ReflowSettings {
  ReflowMode mode = ReflowMode::wrap;
  std::size_t width = 80;  // unlimitedWidth for none
  TextWidth measure = TextWidth::columns(8);
  // Once the new lines pass this many bytes, re-flowing stops and returns
  // the lines so far, which then pass it too: a caller with a bound on its
  // output learns it is crossed without building all of it.
  std::size_t sizeLimit = SIZE_MAX;
  // The room rule: a paragraph with too little room after its prefixes
  // (under 20 columns, or half the width) is left as it is rather than
  // turned into a column of single words. Off: every width is honoured.
  bool roomRule = true;
  // A project's own "keep this line" prefixes: lines opening with one are
  // kept as they are.
  std::vector<std::string> keepPrefixes;
};

// Lines kept end to end in one buffer: a paragraph that becomes a hundred
// thousand lines costs one allocation rather than one a line.
class PackedLines {
 public:
  // Room for about this many bytes of lines.
  void reserve(std::size_t bytes);
  // The buffer to append the next line's text to; closeLine() ends it.
  std::string& openLine() { return text_; }
  void closeLine() { ends_.push_back(text_.size()); }
  void add(std::string_view line) {
    text_ += line;
    closeLine();
  }
  void dropLast() {
    ends_.pop_back();
    text_.resize(ends_.empty() ? 0 : ends_.back());
  }

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  // The bytes of all lines, line ends not counted.
  std::size_t bytes() const { return text_.size(); }
  std::string_view operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(begin, ends_[i] - begin);
  }

 private:
  std::string text_;
  std::vector<std::size_t> ends_;
};

// How the paragraph sets sentences apart inside its lines: with two blanks
// somewhere, with one somewhere.
struct SentenceSpacing {
  bool two = false;
  bool one = false;
};
// The full stops, question and exclamation marks of a text, in order, in
// time linear in the text: a search per kind of mark, each going on from
// where it stopped, far quicker than find_first_of.
class SentenceMarks {
 public:
  explicit SentenceMarks(std::string_view text);
  // Where the next one stands, or npos.
  std::size_t next();

 private:
  std::string_view text_;
  std::size_t next_[3];
};

SentenceSpacing sentenceSpacing(const std::vector<CommentLine>& lines, const Paragraph& paragraph,
                                const ReflowSettings& settings);

// The paragraph's new lines (without line ends), or nothing when it stays
// as it is. `lines` is the whole run the paragraph belongs to. Lines past
// settings.sizeLimit bytes are a part only, see there.
std::optional<PackedLines> reflowParagraph(const std::vector<CommentLine>& lines,
                                           const Paragraph& paragraph, const ReflowSettings& settings);

}  // namespace brindlewort
