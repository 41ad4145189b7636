#pragma once

// Passive-voice marker lines, found in the joined paragraph text so that a
// construction split across wrapped lines is still found.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

inline constexpr char passiveVoicePattern[] =
    R"(\b((be(en)?)|(have)|(w(as|ere))|(is)|(a(re|m)))\s+(\S+(en|ed))+)";

// Every line, each followed by a marker line under the passive-voice
// constructions that touch it.
std::vector<std::string> grammarCheckLines(const std::vector<std::string>& lines);
std::vector<std::string> grammarCheckLines(const std::vector<std::string_view>& lines);

// One construction: the line it starts on (0-based), its column there
// (0-based, in characters) and its text with white space runs as one space,
// up to the end of its last word (the marker line may stop inside it).
// Constructions with "have" are the perfect tense, not the passive voice.
struct PassiveVoiceFinding {
  std::size_t line = 0;
  std::int64_t column = 0;
  std::string text;
  bool perfectTense = false;
  friend bool operator==(const PassiveVoiceFinding&, const PassiveVoiceFinding&) = default;
};

// The constructions that grammarCheckLines marks, in text order.
std::vector<PassiveVoiceFinding> passiveVoiceFindings(const std::vector<std::string>& lines);
std::vector<PassiveVoiceFinding> passiveVoiceFindings(const std::vector<std::string_view>& lines);

}  // namespace brindlewort
