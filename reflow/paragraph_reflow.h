#pragma once

// Re-flowing one comment paragraph: breaking only what overflows, filling
// it anew, or joining it into one line. Words and the marks between them
// are never lost: only line breaks and the blanks between words change.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reflow/comment_line.h"
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
};

// The paragraph's new lines (without line ends), or nothing when it stays
// as it is. `lines` is the whole run the paragraph belongs to. Lines past
// settings.sizeLimit bytes are a part only, see there.
std::optional<std::vector<std::string>> reflowParagraph(const std::vector<CommentLine>& lines,
                                                        const Paragraph& paragraph,
                                                        const ReflowSettings& settings);

}  // namespace brindlewort
