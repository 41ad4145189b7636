#pragma once

// The texts of the documents the editor has open, kept in step with its
// full and incremental changes.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "cli/lsp/text_positions.h"

namespace brindlewort::cli::lsp {

struct OpenDocument {
  std::string text;
  std::int64_t version = 0;
  std::string path;  // the file the URI names; empty when it names none
  std::string languageId;  // the editor's name for the document's language
  // Where the editor's text held bytes that are not UTF-8 (replaced by
  // U+FFFD here); such a document is not checked until it is replaced.
  std::optional<std::size_t> invalidUtf8At;
  // Counts every open and change, so that work done for an older text is
  // known to be stale even when the editor reuses a version number.
  std::uint64_t revision = 0;
};

// One change: a range replaced by text, or the whole text when no range.
struct TextChange {
  std::optional<TextPosition> start;
  std::optional<TextPosition> end;
  std::string text;
};

class DocumentStore {
 public:
  void open(const std::string& uri, OpenDocument document);
  void close(const std::string& uri);
  // Applies a change in the position encoding of the session; false when
  // the document is not open.
  bool change(const std::string& uri, const TextChange& change, PositionEncoding encoding);
  // Null when not open.
  OpenDocument* find(const std::string& uri);
  void forEach(const std::function<void(const std::string& uri, const OpenDocument&)>& visit) const;

 private:
  std::map<std::string, OpenDocument, std::less<>> documents_;
};

}  // namespace brindlewort::cli::lsp
