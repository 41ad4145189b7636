#pragma once

// What `spell --check` and `grammar --check` share: visiting the lines a
// scope checks, and writing compiler-style finding lines.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/text_options.h"

namespace brindlewort::cli {

// Calls visit(lines, firstLine) for each group of lines that the scope hands
// to the checks together: every run of comment lines (line ends dropped), or
// the whole text split at line feeds. firstLine is the 0-based number of the
// group's first line in the text.
void forEachCheckedGroup(
    std::string_view text, TextScope scope,
    const std::function<void(const std::vector<std::string>& lines, std::size_t firstLine)>& visit);

// «FILE:LINE:COLUMN: KIND: "TEXT"» and a line feed; line and column are
// 0-based here and printed 1-based. Quotes and backslashes in TEXT are
// escaped with a backslash.
std::string findingLine(std::string_view file, std::size_t line, std::int64_t column,
                        std::string_view kind, std::string_view text);

}  // namespace brindlewort::cli
