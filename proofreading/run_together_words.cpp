#include "proofreading/run_together_words.h"

#include <string>

namespace brindlewort {
namespace {

constexpr std::size_t shortestPart = 3;
constexpr std::size_t shortestDictionaryPart = 5;
constexpr std::size_t shortestNeighbour = 5;

bool isLowerAscii(char c) { return c >= 'a' && c <= 'z'; }

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

bool isRunTogetherWords(std::string_view word, const KnowsWord& isListed, const KnowsWord& isInDictionary,
                        const KnowsWord& knowsNeighbour) {
  if (word.size() < 2 * shortestPart) return false;
  std::string lower(word);
  if (lower[0] >= 'A' && lower[0] <= 'Z') lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
  for (const char c : lower)
    if (!isLowerAscii(c)) return false;
  auto isPart = [&](std::string_view part) {
    return isListed(part) || (part.size() >= shortestDictionaryPart && isInDictionary(part));
  };
  bool splits = false;
  for (std::size_t at = shortestPart; at + shortestPart <= lower.size() && !splits; ++at) {
    const std::string_view view(lower);
    splits = isPart(view.substr(0, at)) && isPart(view.substr(at));
  }
  return splits && !hasKnownNeighbour(lower, knowsNeighbour);
}

}  // namespace brindlewort
