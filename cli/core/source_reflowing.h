#pragma once

// brindle wrap and unwrap on source files: only comment paragraphs move,
// found by the lexer of the file's language, at the width and tab stops the
// project's .editorconfig asks for unless the options say otherwise.

#include <string>
#include <string_view>
#include <vector>

#include "cli/core/text_command.h"
#include "cli/core/text_options.h"
#include "reflow/paragraph_reflow.h"

namespace brindlewort::cli {

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
