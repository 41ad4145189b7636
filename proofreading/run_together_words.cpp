#include "proofreading/run_together_words.h"

#include <string>


namespace brindlewort {
namespace {

constexpr std::size_t shortestPart = 3;
constexpr std::size_t shortestDictionaryPart = 5;

bool isLowerAscii(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

bool isRunTogetherWords(std::string_view word, const KnowsWord& isListed, const KnowsWord& isInDictionary,
                        const KnowsWord& slipsFromKnownWord) {
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
  return splits && !slipsFromKnownWord(lower);
}

}  // namespace brindlewort
