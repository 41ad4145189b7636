#include "proofreading/slip_neighbours.h"

#include <string>
#include <utility>

namespace brindlewort {
namespace {

constexpr std::size_t shortestNeighbour = 5;

}  // namespace

bool hasKnownNeighbour(std::string_view lower, const KnowsWord& knows) {
  std::string probe;
  auto known = [&](const std::string& candidate) {
    return candidate.size() >= shortestNeighbour && candidate != lower && knows(candidate);
  };
  const std::size_t n = lower.size();
  for (std::size_t i = 0; i < n; ++i) {  // a letter too many
    probe.assign(lower.substr(0, i)).append(lower.substr(i + 1));
    if (known(probe)) return true;
  }
  for (std::size_t i = 0; i + 1 < n; ++i) {  // two letters swapped
    if (lower[i] == lower[i + 1]) continue;
    probe.assign(lower);
    std::swap(probe[i], probe[i + 1]);
    if (known(probe)) return true;
  }
  for (std::size_t i = 0; i < n; ++i) {  // a letter changed
    probe.assign(lower);
    for (char c = 'a'; c <= 'z'; ++c) {
      if (c == lower[i]) continue;
      probe[i] = c;
      if (known(probe)) return true;
    }
  }
  for (std::size_t i = 0; i <= n; ++i) {  // a letter left out
    probe.assign(lower.substr(0, i)).append(1, 'a').append(lower.substr(i));
    for (char c = 'a'; c <= 'z'; ++c) {
      probe[i] = c;
      if (known(probe)) return true;
    }
  }
  return false;
}

}  // namespace brindlewort
