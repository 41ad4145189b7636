#pragma once

#include <cstdint>
#include <limits>

namespace brindlewort {

// The maximum comment length a fresh installation starts with.
inline constexpr std::int64_t defaultMaxCommentLength = 80;

// "No limit": so large that no paragraph is ever broken. Unwrapping is
// wrapping at this length. Stored as 0 in the shared settings.
inline constexpr std::int64_t noCommentLengthLimit = std::numeric_limits<std::int64_t>::max();

}  // namespace brindlewort
