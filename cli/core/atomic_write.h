#pragma once

#include <string>
#include <string_view>

#include "base/result.h"

namespace brindlewort::cli {

// Replaces the file's content with `content` so that readers see either the
// old or the new file, never a mix: a temporary file in the same folder,
// flushed to disk, then renamed over it. The new file keeps everything else
// the old one carried: mode, owner, group, access control list and extended
// attributes; when any of them cannot be given to it, nothing is replaced
// and the error says which. A symbolic link is followed and stays a link.
// On failure the file is left as it was.
Result<void> writeFileAtomically(const std::string& path, std::string_view content);

}  // namespace brindlewort::cli
