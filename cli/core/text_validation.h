#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brindlewort::cli {

// Why the text cannot be transformed (not UTF-8, or a NUL byte), naming the
// byte offset of the first offending byte; absent when it can.
std::optional<std::string> undecodableReason(std::string_view text);

}  // namespace brindlewort::cli
