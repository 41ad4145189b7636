#pragma once

// The --check path of commands whose transform only adds marker lines under
// their findings (spell, grammar): the findings are listed instead,
// compiler-style, and each text is analysed once, without transforming it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/core/text_options.h"
#include "reflow/comment_facts.h"

namespace brindlewort::cli {

// Appends to `report` the finding lines for one group of lines that a scope
// hands to the checks together: a run of comment lines (line ends dropped),
// or the whole text split at line feeds. firstLine is the 0-based number of
// the group's first line in the text; `facts` are the lexer's facts for each
// line of a run, and empty for the whole text. Called from several threads
// at once.
using GroupFindings =
    std::function<void(std::string_view displayName, const std::vector<std::string_view>& lines,
                       std::span<const CommentFacts> facts, std::size_t firstLine, std::string& report)>;

// The finding lines of a whole text in text order, the groups checked on up
// to `threads` threads. In the comment-run scope the groups are the runs of
// `comments`, the lexer's facts for the text's lines.
std::string findingsReport(std::string_view displayName, std::string_view text, const CommentMap& comments,
                           TextScope scope, unsigned threads, const GroupFindings& findings);

// «FILE:LINE:COLUMN: KIND: "TEXT"» and a line feed; line and column are
// 0-based here and printed 1-based. Quotes and backslashes in TEXT are
// escaped with a backslash.
std::string findingLine(std::string_view file, std::size_t line, std::int64_t column,
                        std::string_view kind, std::string_view text);

}  // namespace brindlewort::cli
