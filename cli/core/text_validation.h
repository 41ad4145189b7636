#pragma once

#include <string_view>

#include "base/result.h"

namespace brindlewort::cli {

// Fails when the text cannot be transformed (not UTF-8, or a NUL byte),
// naming the byte offset of the first offending byte.
Result<void> checkDecodable(std::string_view text);

}  // namespace brindlewort::cli
