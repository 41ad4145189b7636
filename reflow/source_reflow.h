#pragma once

// Re-flowing the `//` comments of a whole source text the way a reviewer
// accepts: only comment paragraphs move, every other line (code, and the
// structure inside comments) is copied byte for byte, and no word is lost.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reflow/comment_facts.h"
#include "reflow/comment_structure.h"
#include "reflow/line_span.h"
#include "reflow/paragraph_reflow.h"

namespace brindlewort {

struct SourceReflowOptions {
  ReflowSettings settings;
  // Only paragraphs touching these lines change; empty: all of them.
  std::vector<LineSpan> onlyLines;
  // The text starts the file, so that a licence header at its top is kept;
  // false for the later pieces of a file re-flowed in pieces.
  bool textOpensFile = true;
  // Whether the whole file sets most sentences apart with two blanks, when
  // the caller knows: the later pieces of a file re-flowed in pieces follow
  // the file's convention, not their own part of it.
  std::optional<bool> textTwoSpaced;
};

// How many sentences end inside a whole-line comment of a text followed by
// two blanks and a capital, and how many by one.
struct SentenceGaps {
  std::size_t two = 0;
  std::size_t one = 0;
  // At least half take two. Filling moves some sentence ends to line ends,
  // so a tie counts as two, which keeps a second fill from changing sides.
  bool mostlyTwo() const { return two > 0 && two >= one; }
};
SentenceGaps sentenceGaps(std::string_view text, std::span<const CommentFacts> comments);


// The text with its comment paragraphs re-flowed. `comments` holds the
// lexer's facts for each line (split at LF); a run is a stretch of
// whole-line comments with the same indentation and marker. Once the result passes
// options.settings.sizeLimit bytes, re-flowing stops and returns what it
// has, which then passes the limit too.
std::string reflowSource(std::string_view text, std::span<const CommentFacts> comments,
                         const SourceReflowOptions& options);


// The kind of every comment line of the text, with its line number (from
// 0), in text order: what is re-flowed as prose and what is kept as it is.
std::vector<std::pair<std::size_t, LineKind>> commentLineKinds(std::string_view text,
                                                              std::span<const CommentFacts> comments);

}  // namespace brindlewort
