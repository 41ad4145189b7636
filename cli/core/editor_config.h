#pragma once

// What a project's .editorconfig files say about a file's line length, tab
// width and spelling language, so that brindle wraps where the project's
// editors do and checks spelling in the project's language.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort::cli {

struct EditorConfigSettings {
  // max_line_length: a number of columns, or 0 for "off" (no limit).
  std::optional<std::size_t> maxLineLength;
  std::optional<std::size_t> tabWidth;  // tab_width
  std::string spellingLanguage;         // spelling_language ("en-US" given as en_US); empty when unset
  // keep_line_prefixes: comment lines whose text opens with one of these
  // (a comma-separated list of literal prefixes) are kept as they are.
  std::vector<std::string> keepLinePrefixes;
};

// The settings that apply to the file at `path` (relative to the working
// folder or absolute; the file need not exist). Nothing for an empty path
// or when no .editorconfig applies; an unreadable one counts as none.
EditorConfigSettings editorConfigFor(std::string_view path);

}  // namespace brindlewort::cli
