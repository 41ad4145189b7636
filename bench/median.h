#pragma once

// The statistic every benchmark here reports: the median resists the odd
// slow run that a busy machine causes, where a mean would not.

#include <algorithm>
#include <vector>

namespace brindlewort::bench {

// The middle value; for an even count, the mean of the two middle ones.
inline double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace brindlewort::bench
