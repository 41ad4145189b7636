// The helper's corrections on arbitrary bytes: never a crash, and correcting
// the corrected text changes nothing.

#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "helper/auto_correction.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brindlewort;
  const std::string once = autoCorrectString(fuzz::asText(data, size));
  const std::string twice = autoCorrectString(once);
  FUZZ_REQUIRE(once == twice);
  return 0;
}
