#pragma once

// The names under which the auto-correction helper is reached on the session
// bus, shared by the service and its clients so the two cannot drift apart.

#include <cstddef>

namespace brindlewort {

inline constexpr char helperServiceName[] = "com.kestrelloom.BrindlewortHelper";
inline constexpr char helperObjectPath[] = "/com/kestrelloom/BrindlewortHelper";
inline constexpr char helperInterfaceName[] = "com.kestrelloom.BrindlewortHelperProtocol";
inline constexpr char helperMethodName[] = "autoCorrectString";

// The largest text (in UTF-8 bytes) the helper accepts. Larger texts are
// refused with helperTextTooLargeError rather than risk the bus dropping
// a connection for an oversized message.
inline constexpr std::size_t helperTextLimitBytes = std::size_t{16} * 1024 * 1024;
inline constexpr char helperTextTooLargeError[] =
    "com.kestrelloom.BrindlewortHelper.Error.TextTooLarge";

}  // namespace brindlewort
