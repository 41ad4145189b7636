#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brindlewort::cli {

// Replaces the file's content with `content` so that readers see either the
// old or the new file, never a mix: a temporary file in the same folder,
// flushed to disk, then renamed over it. The file keeps its permission bits
// (and owner where allowed); a symbolic link is followed and stays a link.
// Returns why it failed, leaving the file as it was.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content);

}  // namespace brindlewort::cli
