#pragma once

#include <cstdint>

namespace brindlewort::cli {

// The maximum comment length used when no --width is given (a maximum
// comment length: noCommentLengthLimit means no limit).
std::int64_t defaultWidth();

}  // namespace brindlewort::cli
