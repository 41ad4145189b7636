#pragma once

// The helper's list of frequent English misspellings, shipped inside the
// program (typo_corrections.txt).

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace brindlewort {

// The correction of a lower-case misspelling, or nothing when the word is
// not on the list.
std::optional<std::string_view> typoCorrection(std::string_view lowerCaseWord);

// Every (misspelling, correction) pair, in list order.
const std::vector<std::pair<std::string_view, std::string_view>>& typoCorrectionPairs();

}  // namespace brindlewort
