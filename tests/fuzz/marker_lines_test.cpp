// The fuzz targets' "only marker lines were added" check must itself catch
// a changed, lost or reordered line, or it would let real faults through.

#include "marker_lines.h"

#include <gtest/gtest.h>

namespace brindlewort::fuzz {
namespace {

struct Case {
  const char* name;
  std::vector<std::string> input;
  std::vector<std::string> output;
  bool onlyMarkers;
};

TEST(MarkerLines, RecognisesInsertedMarkersAndNothingElse) {
  const Case cases[] = {
      {"nothing added", {"// a", "x"}, {"// a", "x"}, true},
      {"spelling marker", {"// teh"}, {"// teh", "// ▲▲▲ ← TYPO?"}, true},
      {"two typos note", {"// teh teh"}, {"// teh teh", "// ▲▲▲ ▲▲▲ ← TYPOS?"}, true},
      {"blanked list marker", {"// - is done"}, {"// - is done", "//     ▲▲▲▲▲▲▲"}, true},
      {"marker without marks", {"//", "// b"}, {"//", "//", "// b"}, true},
      {"input line that looks like a marker", {"// a", "// ▲"}, {"// a", "// ▲", "// ▲"}, true},
      {"empty input", {""}, {""}, true},
      {"line changed", {"// teh"}, {"// the", "// ▲▲▲"}, false},
      {"line lost", {"// a", "// b"}, {"// a", "// ▲"}, false},
      {"lines swapped", {"// a", "// b"}, {"// b", "// a"}, false},
      {"two markers under one line", {"// a"}, {"// a", "// ▲", "// ▲"}, false},
      {"marker above the first line", {"// a"}, {"// ▲", "// a"}, false},
      {"added line is not a marker", {"// a"}, {"// a", "// note"}, false},
      {"marker prefix not from its line", {"x"}, {"x", "// ▲"}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(onlyMarkerLinesAdded(c.input, c.output), c.onlyMarkers) << c.name;
  }
}

}  // namespace
}  // namespace brindlewort::fuzz
