#pragma once

// The prefix rules with mayHavePrefix and textStart already worked out, so
// classification scans each line once per question instead of once per call.

#include <cstddef>
#include <optional>
#include <string_view>

namespace brindlewort {

std::optional<std::string_view> commentPrefixGiven(std::string_view line, bool mayHave,
                                                   std::optional<std::size_t> start);

std::optional<std::string_view> listPrefixGiven(std::string_view line, bool mayHave,
                                                std::optional<std::size_t> start,
                                                std::optional<std::string_view> comment);

}  // namespace brindlewort
