#pragma once

#include <string>

#include "base/result.h"

namespace brindlewort::cli {

// Whether --in-place may replace the file, decided before it is opened (a
// FIFO without a writer would block the read forever): only a regular file
// (a symbolic link to one counts), and only one the caller could open for
// writing, as an editor would; replacing it through its folder would
// otherwise rewrite a read-only file or make another user's file the
// caller's.
Result<void> checkRewritable(const std::string& path);

}  // namespace brindlewort::cli
