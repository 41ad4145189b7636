#pragma once

// file: URIs as editors send them, and the paths they name.

#include <string>
#include <string_view>

namespace brindlewort::cli::lsp {

// The path of a file: URI with its percent escapes decoded; empty for any
// other scheme (an unsaved buffer has no file, so no project around it).
std::string pathOfUri(std::string_view uri);

// The file: URI of an absolute path.
std::string uriOfPath(std::string_view path);

}  // namespace brindlewort::cli::lsp
