#pragma once

// Passive-voice marker lines, found in the joined paragraph text so that a
// construction split across wrapped lines is still found.

#include <string>
#include <vector>

namespace brindlewort {

inline constexpr char passiveVoicePattern[] =
    R"(\b((be(en)?)|(have)|(w(as|ere))|(is)|(a(re|m)))\s+(\S+(en|ed))+)";

std::vector<std::string> grammarCheckLines(const std::vector<std::string>& lines);

}  // namespace brindlewort
