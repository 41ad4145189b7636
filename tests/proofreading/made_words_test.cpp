// Words a dictionary lacks but a maintainer would not mend: two words run
// together, and the guard that keeps a slip from a known word a misspelling.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "proofreading/run_together_words.h"
#include "proofreading/slip_neighbours.h"

namespace brindlewort {
namespace {

KnowsWord knowing(std::set<std::string, std::less<>> words) {
  return [words = std::move(words)](std::string_view word) { return words.contains(word); };
}

TEST(SlipNeighbours, EachKindOfSlipIsFound) {
  const KnowsWord knows = knowing({"foreground", "exchanged", "example", "eventually", "that"});
  const struct {
    const char* word;
    bool near;
  } cases[] = {
      {"forground", true},     // a letter left out
      {"exchaged", true},      // the same
      {"exapmle", true},       // two letters swapped
      {"eventutally", true},   // a letter too many
      {"exanple", true},       // a letter changed
      {"foreground", false},   // the word itself
      {"frgrnd", false},       // two slips and more
      {"thta", false},         // a slip from a word under five letters
  };
  for (const auto& c : cases) EXPECT_EQ(hasKnownNeighbour(c.word, knows), c.near) << c.word;
}

TEST(RunTogetherWords, TwoKnownPartsAndNoSlip) {
  const KnowsWord listed = knowing({"hit", "work", "page", "down", "for", "hex", "ions"});
  const KnowsWord dictionary =
      knowing({"testing", "buffer", "ground", "foreground", "decimal", "hexadecimal", "limit", "ions"});
  const KnowsWord either = [&](std::string_view w) { return listed(w) || dictionary(w); };
  const struct {
    const char* word;
    bool runTogether;
  } cases[] = {
      {"hittesting", true},
      {"Workbuffer", true},    // a capital opening a sentence
      {"pagedown", true},
      {"forground", false},    // "foreground" is one slip away
      {"hexdecimal", false},   // "hexadecimal" is one slip away
      {"limitions", true},     // "ions" is listed here
      {"limition", false},     // no split
      {"WORKBUFFER", false},   // capitals are an abbreviation's
      {"hit", false},          // too short to split
      {"work_buffer", false},  // letters only
  };
  const KnowsWord slips = [&](std::string_view lower) { return hasKnownNeighbour(lower, either); };
  for (const auto& c : cases) EXPECT_EQ(isRunTogetherWords(c.word, listed, dictionary, slips), c.runTogether) << c.word;
  // A short part counts only when a list knows it, not the dictionary alone.
  EXPECT_FALSE(isRunTogetherWords("limitions", knowing({}), dictionary, slips));
}

}  // namespace
}  // namespace brindlewort
