#pragma once

// The diagnostics of one publication, written straight as JSON text: a
// large file can have thousands, and building generic JSON values for them
// would cost more than finding them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/lsp/text_positions.h"

namespace brindlewort::cli::lsp {

class DiagnosticsText {
 public:
  // Adds one diagnostic from brindle; `code` and `word` (the "data" a quick
  // fix reads) are left out when empty. The texts must be UTF-8.
  void add(TextPosition start, TextPosition end, int severity, std::string_view message,
           std::string_view code = {}, std::string_view word = {});
  std::size_t size() const { return count_; }
  // The textDocument/publishDiagnostics notification for a document version.
  std::string notification(std::string_view uri, std::int64_t version) const;

 private:
  std::string items_;
  std::size_t count_ = 0;
};

// The text as a JSON string, quotes included.
void appendJsonString(std::string& out, std::string_view text);

}  // namespace brindlewort::cli::lsp
