#pragma once

// What a project's .editorconfig files say about a file's line length and
// tab width, so that brindle wraps where the project's editors do.

#include <cstddef>
#include <optional>
#include <string_view>

namespace brindlewort::cli {

struct EditorConfigLimits {
  // max_line_length: a number of columns, or 0 for "off" (no limit).
  std::optional<std::size_t> maxLineLength;
  std::optional<std::size_t> tabWidth;  // tab_width
};

// The limits that apply to the file at `path` (relative to the working
// folder or absolute; the file need not exist). Nothing for an empty path
// or when no .editorconfig applies; an unreadable one counts as none.
EditorConfigLimits editorConfigFor(std::string_view path);

}  // namespace brindlewort::cli
