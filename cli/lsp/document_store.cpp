#include "cli/lsp/document_store.h"

#include <algorithm>

namespace brindlewort::cli::lsp {

void DocumentStore::open(const std::string& uri, OpenDocument document) {
  const OpenDocument* old = find(uri);
  document.revision = old == nullptr ? 0 : old->revision + 1;
  documents_[uri] = std::move(document);
}

void DocumentStore::close(const std::string& uri) { documents_.erase(uri); }

OpenDocument* DocumentStore::find(const std::string& uri) {
  const auto found = documents_.find(uri);
  return found == documents_.end() ? nullptr : &found->second;
}

void DocumentStore::forEach(
    const std::function<void(const std::string& uri, const OpenDocument&)>& visit) const {
  for (const auto& [uri, document] : documents_) visit(uri, document);
}

bool DocumentStore::change(const std::string& uri, const TextChange& change, PositionEncoding encoding) {
  OpenDocument* document = find(uri);
  if (document == nullptr) return false;
  ++document->revision;
  if (!change.start || !change.end) {
    document->text = change.text;
    return true;
  }
  std::size_t begin = byteOffsetOf(document->text, *change.start, encoding);
  std::size_t end = byteOffsetOf(document->text, *change.end, encoding);
  // A reversed range is taken as the range between its ends.
  if (end < begin) std::swap(begin, end);
  document->text.replace(begin, end - begin, change.text);
  return true;
}

}  // namespace brindlewort::cli::lsp
