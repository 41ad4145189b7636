// The spelling marker lines on arbitrary text, with a checker that reports
// whatever ranges the input dictates (out of range, empty, overlapping,
// splitting a surrogate pair): never a crash, and only marker lines added.

#include <cstddef>
#include <cstdint>

#include "engine/rewrap.h"
#include "fuzz_support.h"
#include "marker_lines.h"
#include "proofreading/spell_check.h"
#include "proofreading/spell_checker.h"

namespace {

// Answers every text with the same ranges, decoded from the input's head.
class ScriptedSpellChecker final : public brindlewort::SpellChecker {
 public:
  explicit ScriptedSpellChecker(std::vector<brindlewort::TextCheckingResult> results)
      : results_(std::move(results)) {}
  std::vector<brindlewort::TextCheckingResult> check(std::string_view) const override {
    return results_;
  }

 private:
  std::vector<brindlewort::TextCheckingResult> results_;
};

// The first byte counts the ranges (0 to 7); each takes three bytes: kind,
// start and length, signed so that negative values come up too.
std::vector<brindlewort::TextCheckingResult> scriptedResults(std::string_view& input) {
  std::vector<brindlewort::TextCheckingResult> results;
  if (input.empty()) return results;
  const std::size_t count = static_cast<unsigned char>(input[0]) % 8;
  input.remove_prefix(1);
  for (std::size_t i = 0; i < count && input.size() >= 3; ++i) {
    brindlewort::TextCheckingResult result;
    result.resultType = input[0] % 4;
    result.start = static_cast<signed char>(input[1]);
    result.length = static_cast<signed char>(input[2]);
    results.push_back(result);
    input.remove_prefix(3);
  }
  return results;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brindlewort;
  std::string_view input = fuzz::asText(data, size);
  const ScriptedSpellChecker checker(scriptedResults(input));
  const std::vector<std::string> lines = splitLines(input);
  const std::vector<std::string> checked = spellCheckLines(lines, checker);
  FUZZ_REQUIRE(fuzz::onlyMarkerLinesAdded(lines, checked));
  return 0;
}
