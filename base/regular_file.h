#pragma once

// Reading a file that a repository supplies: only a regular file is read,
// and only up to a size, so that a link to /dev/stdin, /dev/zero or a FIFO
// can neither stall nor exhaust the reader.

#include <cstdint>
#include <filesystem>
#include <string>

#include "base/result.h"

namespace brindlewort {

enum class SymbolicLinks { follow, refuse };

// The file's content. Opened without blocking and without becoming a
// controlling terminal, checked with fstat before a byte is read; an error
// for anything but a regular file (a symbolic link too, when refused) and
// for a file larger than `maxBytes`.
Result<std::string> readRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                                    SymbolicLinks links);

}  // namespace brindlewort
