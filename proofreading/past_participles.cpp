#include "proofreading/past_participles.h"

#include <algorithm>
#include <array>

namespace brindlewort {
namespace {

// Words ending in "ed" or "en" that are not participles. Sorted.
constexpr std::array nonParticiples = std::to_array<std::string_view>({
    "abdomen", "alien", "amen", "aspen", "bed", "between", "bleed", "breed", "burden",
    "chicken", "children", "citizen", "creed", "deed", "den", "dozen", "eleven", "embed",
    "even", "exceed", "feed", "garden", "golden", "greed", "green", "hatred", "haven",
    "heaven", "heed", "hen", "hundred", "hydrogen", "imbed", "indeed", "keen", "kindred",
    "kitchen", "kitten", "linen", "listen", "maiden", "men", "naked", "need", "nitrogen",
    "often", "omen", "open", "oven", "oxygen", "pen", "pollen", "proceed", "queen", "raven",
    "red", "reed", "regimen", "sacred", "screen", "seed", "seven", "shred", "siren", "sled",
    "specimen", "speed", "steed", "succeed", "sudden", "teen", "ten", "then", "token",
    "tweed", "warden", "weed", "when", "wicked", "women", "wooden", "woolen", "woollen",
    "yen",
});

// Participles that do not end in "ed" or "en". Sorted.
constexpr std::array irregularParticiples = std::to_array<std::string_view>({
    "become", "begun", "bent", "bid", "blown", "born", "borne", "bought", "bound",
    "broadcast", "brought", "built", "burnt", "burst", "cast", "caught", "come", "crept",
    "cut", "dealt", "done", "drawn", "dreamt", "drunk", "dug", "fed", "felt", "fled", "flown",
    "forecast", "fought", "found", "gone", "grown", "had", "heard", "held", "hit", "hung",
    "hurt", "kept", "knelt", "known", "laid", "leant", "learnt", "led", "left", "lent", "let",
    "lit", "lost", "made", "meant", "met", "mislaid", "misled", "offset", "outrun",
    "overcome", "overlaid", "paid", "preset", "put", "quit", "read", "rebound", "rebuilt",
    "redone", "rerun", "reset", "rewound", "run", "said", "sent", "set", "sewn", "shown",
    "shrunk", "shut", "slept", "sold", "sought", "sown", "spelt", "spent", "spilt", "split",
    "spread", "spun", "stood", "struck", "stuck", "sung", "sunk", "swept", "sworn", "swung",
    "taught", "thought", "thrown", "thrust", "told", "torn", "unbound", "understood",
    "undone", "unwound", "upheld", "upset", "wept", "withdrawn", "withheld", "won", "worn",
    "wound",
});

static_assert(std::is_sorted(nonParticiples.begin(), nonParticiples.end()));
static_assert(std::is_sorted(irregularParticiples.begin(), irregularParticiples.end()));

bool listed(const auto& list, std::string_view word) {
  return std::binary_search(list.begin(), list.end(), word);
}

bool allLowerLetters(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace

bool isPastParticiple(std::string_view word) {
  if (const std::size_t hyphen = word.rfind('-'); hyphen != std::string_view::npos) {
    word = word.substr(hyphen + 1);
  }
  if (!allLowerLetters(word)) return false;
  if (listed(irregularParticiples, word)) return true;
  // "ed" and "en" alone, or after one letter ("bed", "ten"), are no verbs.
  if (word.size() < 4 || !(word.ends_with("ed") || word.ends_with("en"))) return false;
  return !listed(nonParticiples, word);
}

}  // namespace brindlewort
