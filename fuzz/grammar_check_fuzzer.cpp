// The passive-voice check on arbitrary text: never a crash, and it only
// inserts marker lines.

#include <cstddef>
#include <cstdint>

#include "engine/rewrap.h"
#include "fuzz_support.h"
#include "marker_lines.h"
#include "proofreading/grammar_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brindlewort;
  const std::vector<std::string> lines = splitLines(fuzz::asText(data, size));
  const std::vector<std::string> checked = grammarCheckLines(lines);
  FUZZ_REQUIRE(fuzz::onlyMarkerLinesAdded(lines, checked));
  return 0;
}
