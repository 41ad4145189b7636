#include "cli/lsp/text_positions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/lsp/file_uri.h"
#include "cli/lsp/reflow_edits.h"

namespace brindlewort::cli::lsp {
namespace {

// "é" is 2 bytes and 1 UTF-16 unit, "😀" 4 bytes and 2 units.
const std::string text =
    "a\xC3\xA9"
    "b\n\xF0\x9F\x98\x80x\r\nlast";

TEST(TextPositions, ConvertBothWaysInEitherEncoding) {
  struct Case {
    TextPosition position;
    PositionEncoding encoding;
    std::size_t offset;
  };
  const std::vector<Case> cases = {
      {{0, 0}, PositionEncoding::utf16, 0},  {{0, 2}, PositionEncoding::utf16, 3},   // after "aé"
      {{0, 3}, PositionEncoding::utf8, 3},   {{0, 3}, PositionEncoding::utf16, 4},   // the end of the line
      {{1, 2}, PositionEncoding::utf16, 9},                                          // after the emoji
      {{1, 4}, PositionEncoding::utf8, 9},   {{1, 3}, PositionEncoding::utf16, 10},  // before the CR-LF
      {{2, 4}, PositionEncoding::utf16, 16},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(byteOffsetOf(text, c.position, c.encoding), c.offset)
        << c.position.line << ":" << c.position.character;
    EXPECT_EQ(positionOf(text, c.offset, c.encoding), c.position) << c.offset;
  }
}

TEST(TextPositions, OutOfRangeAndSplitPositionsClamp) {
  struct Case {
    TextPosition position;
    PositionEncoding encoding;
    std::size_t offset;
  };
  const std::vector<Case> cases = {
      {{0, 99}, PositionEncoding::utf16, 4},   // past the line's end: its end
      {{1, 99}, PositionEncoding::utf16, 10},  // not into the CR-LF
      {{7, 0}, PositionEncoding::utf16, text.size()},
      {{1, 1}, PositionEncoding::utf16, 5},  // inside the surrogate pair: its start
      {{0, 2}, PositionEncoding::utf8, 1},   // inside "é": its start
  };
  for (const Case& c : cases) {
    EXPECT_EQ(byteOffsetOf(text, c.position, c.encoding), c.offset)
        << c.position.line << ":" << c.position.character;
  }
}

TEST(TextPositions, IllFormedBytesCountOneUnitEach) {
  const std::string bad = "\xFF\xC3(\xF0\x9F\x98";
  EXPECT_EQ(unitsBefore(bad, bad.size(), PositionEncoding::utf16), bad.size());
  EXPECT_EQ(byteOffsetOf(bad, {0, 2}, PositionEncoding::utf16), 2u);
  EXPECT_EQ(positionOf(bad, 100, PositionEncoding::utf16), (TextPosition{0, bad.size()}));
}

TEST(ChangedLines, ReplacesOnlyTheWholeLinesThatDiffer) {
  struct Case {
    std::string before, after;
    std::size_t begin, end;
    std::string replacement;
  };
  const std::vector<Case> cases = {
      {"a\n// x y\nb\n", "a\n// x\n// y\nb\n", 2, 9, "// x\n// y\n"},
      {"// x\n// y\n", "// x y\n", 0, 10, "// x y\n"},
      {"// a b\n", "// a\n// b\n", 0, 7, "// a\n// b\n"},
      {"x\n// a\n// a\n", "x\n// a\n", 7, 12, ""},
  };
  for (const Case& c : cases) {
    const auto edit = changedLines(c.before, c.after);
    ASSERT_TRUE(edit) << c.before;
    EXPECT_EQ(edit->begin, c.begin) << c.before;
    EXPECT_EQ(edit->end, c.end) << c.before;
    EXPECT_EQ(edit->replacement, c.replacement) << c.before;
    std::string applied = c.before;
    applied.replace(edit->begin, edit->end - edit->begin, edit->replacement);
    EXPECT_EQ(applied, c.after);
  }
  EXPECT_FALSE(changedLines("same\n", "same\n"));
}

TEST(FileUri, DecodesLocalFilesOnly) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"file:///home/me/a%20b.cpp", "/home/me/a b.cpp"},
      {"file://localhost/x.cpp", "/x.cpp"},
      {"file:///caf%C3%A9.rs", "/caf\xC3\xA9.rs"},
      {"file:///a%2", "/a%2"},
      {"file:///a%00b", ""},
      {"file://other-host/x.cpp", ""},
      {"untitled:Untitled-1", ""},
  };
  for (const auto& [uri, path] : cases) EXPECT_EQ(pathOfUri(uri), path) << uri;
  EXPECT_EQ(pathOfUri(uriOfPath("/tmp/a b#c.cpp")), "/tmp/a b#c.cpp");
}

}  // namespace
}  // namespace brindlewort::cli::lsp
