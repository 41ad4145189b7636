#pragma once

#include <string>
#include <string_view>

#include "base/regular_file.h"
#include "base/result.h"

namespace brindlewort {

// Replaces the file's content with `content` so that readers see either the
// old or the new file, never a mix: a temporary file in the same folder,
// flushed to disk, then renamed over it. The new file keeps everything else
// the old one carried: mode, owner, group, access control list and extended
// attributes; when any of them cannot be given to it, nothing is replaced
// and the error says which. A symbolic link is followed and stays a link,
// or, when links are refused, is an error. On failure the file is left as
// it was.
Result<void> writeFileAtomically(const std::string& path, std::string_view content,
                                 SymbolicLinks links = SymbolicLinks::follow);

// Puts a file of brindle's own (a cache) in place the same way, whether or
// not one is there: a new file of the given mode, created exclusively and
// renamed over the name, so that nothing already under it (another user's
// file, a link) is written through.
Result<void> writeOwnFileAtomically(const std::string& path, std::string_view content, unsigned mode);

}  // namespace brindlewort
