#pragma once

// Words that a dictionary rejects but that the text around them shows are
// not prose: names (a capital in mid-sentence, "TODO(name)"), doc tags and
// command-line flags ("@endcond", "-Werror"), calls ("frobl("), and the
// names in copyright lines.

#include <cstdint>
#include <string_view>

namespace brindlewort {

// The context of the words of one comment line's text (UTF-16 units).
class FindingContext {
 public:
  explicit FindingContext(std::u16string_view text);
  // Whether the word at [start, start + length) is excused by what
  // surrounds it. Looks at a bounded stretch around the word, so checking
  // every word of a line costs time linear in the line.
  bool excuses(std::int64_t start, std::int64_t length) const;

 private:
  std::u16string_view text_;
  bool copyrightLine_;
  std::size_t writerAfterDate_;  // a change log's writer, or npos
};

}  // namespace brindlewort
