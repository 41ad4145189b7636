#include "cli/lsp/reflow_edits.h"

#include <algorithm>

#include "cli/core/default_width.h"
#include "cli/core/source_reflowing.h"
#include "reflow/text_validation.h"

namespace brindlewort::cli::lsp {

Result<std::string> reflowedText(std::string_view text, std::string_view path, const ReflowRequest& request) {
  if (Result<void> decodable = checkDecodable(text); !decodable) return Error{decodable.error()};
  if (Result<void> lineEnds = checkLineEnds(text); !lineEnds) return Error{lineEnds.error()};
  SourceReflowRequest reflow;
  reflow.mode = request.mode;
  reflow.width = request.width;
  // The shared setting only where nothing closer gives a width.
  if (!request.width) reflow.defaultWidth = defaultWidth();
  if (request.lines) reflow.onlyLines.push_back(*request.lines);
  reflow.editorName = request.languageId;
  return reflowSourceText(text, path, reflow);
}

std::optional<ByteEdit> changedLines(std::string_view before, std::string_view after) {
  if (before == after) return std::nullopt;
  std::size_t prefix = 0;
  const std::size_t shorter = std::min(before.size(), after.size());
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  // Back to the start of the line the difference is on.
  while (prefix > 0 && before[prefix - 1] != '\n') --prefix;
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  // Forward to a line start, so that whole lines are replaced.
  while (suffix > 0 && before[before.size() - suffix - 1] != '\n') --suffix;
  return ByteEdit{prefix, before.size() - suffix,
                  std::string(after.substr(prefix, after.size() - suffix - prefix))};
}

}  // namespace brindlewort::cli::lsp
