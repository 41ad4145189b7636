#pragma once

// The re-flows the editor asks for (a paragraph, the selected lines, the
// whole file), done by brindle wrap --fill and unwrap's own transform, and
// the smallest edit that turns the old text into the new.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "reflow/paragraph_reflow.h"
#include "reflow/source_reflow.h"

namespace brindlewort::cli::lsp {

struct ReflowRequest {
  ReflowMode mode = ReflowMode::fill;
  // The maximum comment length the editor set (noCommentLengthLimit for
  // none); unset: the file's .editorconfig, else the shared setting, read
  // now so that a change of it counts at once.
  std::optional<std::int64_t> width;
  std::optional<LineSpan> lines;  // unset: the whole text
  std::string_view languageId;    // the editor's name for the language
};

// The text after the re-flow, the same as `brindle wrap --fill` (or unwrap)
// with --lines and --stdin-filename PATH gives; an error for text it
// refuses.
Result<std::string> reflowedText(std::string_view text, std::string_view path, const ReflowRequest& request);

// One replacement of the bytes [begin, end) of the old text.
struct ByteEdit {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string replacement;
};

// The whole lines that differ, as one replacement; nothing when the texts
// are equal.
std::optional<ByteEdit> changedLines(std::string_view before, std::string_view after);

}  // namespace brindlewort::cli::lsp
