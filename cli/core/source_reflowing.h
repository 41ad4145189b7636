#pragma once

// brindle wrap and unwrap on source files: only comment paragraphs move,
// found by the lexer of the file's language, at the width and tab stops the
// project's .editorconfig asks for unless the options say otherwise.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "cli/core/text_command.h"
#include "cli/core/text_options.h"
#include "reflow/paragraph_reflow.h"
#include "reflow/source_reflow.h"

namespace brindlewort::cli {

// What a caller asks of the re-flow of one source file; what it leaves open
// comes from the file's .editorconfig, then the defaults.
struct SourceReflowRequest {
  ReflowMode mode = ReflowMode::wrap;
  // The maximum comment length (noCommentLengthLimit for none); unset: the
  // .editorconfig's, else `defaultWidth`.
  std::optional<std::int64_t> width;
  std::int64_t defaultWidth = 80;
  std::optional<std::size_t> tabWidth;  // unset: the .editorconfig's, else 8
  std::vector<LineSpan> onlyLines;      // 0-based; empty: every line
  std::string_view editorName;          // the editor's name for the language, if any
};

// The file's text re-flowed by reflowSourceFile on every core, or an error
// when the result would pass outputBound(). A file in a language without
// line comments comes back as it is, and sets *skipped when given.
Result<std::string> reflowSourceText(std::string_view text, std::string_view path,
                                     const SourceReflowRequest& request, bool* skipped = nullptr);

// The width a file is wrapped to and where it came from: --width, the
// file's .editorconfig, or the shared setting.
struct WidthChoice {
  std::size_t columns = 0;  // unlimitedWidth for none
  std::string_view source;
};

// The width for the file at `path` (the name given for standard input;
// empty when none was) under the options.
WidthChoice widthFor(const TextOptions& options, std::string_view path);

// What --check says about a paragraph that would change at this width, and
// the fix hint's account of the widths used.
std::string reflowChangeNote(ReflowMode mode, const WidthChoice& width);
std::string widthsUsedNote(const std::vector<WidthChoice>& widths);

// The work of wrap (wrap or fill) and unwrap on source files: the
// transform, safe to call from several threads at once, what --check says
// of each paragraph that would change, the closing note that counts the
// files skipped for their language, and for wrap the widths used.
TextWork sourceReflowWork(const TextOptions& options, ReflowMode mode);

}  // namespace brindlewort::cli
