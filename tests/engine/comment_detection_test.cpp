#include "engine/comment_detection.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "engine/characters.h"

namespace brindlewort {
namespace {

using OptionalText = std::optional<std::string>;

std::optional<std::size_t> textStartInCharacters(std::string_view line) {
  const auto start = textStart(line);
  if (!start) return std::nullopt;
  return characterCount(line.substr(0, *start));
}

OptionalText owned(std::optional<std::string_view> slice) {
  if (!slice) return std::nullopt;
  return std::string(*slice);
}

struct DetectionCase {
  std::string line;
  bool mayHave;
  std::optional<std::size_t> start;  // in characters
  OptionalText prefix;
};

void PrintTo(const DetectionCase& c, std::ostream* out) { *out << "«" << c.line << "»"; }

class CommentDetection : public testing::TestWithParam<DetectionCase> {};

TEST_P(CommentDetection, AnswersTheThreeQuestions) {
  const DetectionCase& c = GetParam();
  EXPECT_EQ(mayHavePrefix(c.line), c.mayHave);
  EXPECT_EQ(textStartInCharacters(c.line), c.start);
  EXPECT_EQ(owned(commentPrefix(c.line)), c.prefix);
}

TEST_P(CommentDetection, SliceAnswersAsOwnedString) {
  const DetectionCase& c = GetParam();
  const std::string surrounding = "xx" + c.line + "yy";
  const std::string_view slice = std::string_view(surrounding).substr(2, c.line.size());
  EXPECT_EQ(mayHavePrefix(slice), c.mayHave);
  EXPECT_EQ(textStartInCharacters(slice), c.start);
  const auto prefix = commentPrefix(slice);
  EXPECT_EQ(owned(prefix), c.prefix);
  if (prefix) {
    EXPECT_EQ(prefix->data(), slice.data()) << "prefix must share the line's storage";
  }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, CommentDetection,
    testing::Values(
        DetectionCase{"// Hello world", true, 3, "// "},
        DetectionCase{"//Hello", true, 2, "//"},
        DetectionCase{"/// Doc text", true, 4, "/// "},
        DetectionCase{"    // indented", true, 7, "    // "},
        DetectionCase{"// - item", true, 5, "// - "},
        DetectionCase{"// 1. first", true, 6, "// 1. "},
        DetectionCase{"// 42 apples", true, 6, "// 42 "},
        DetectionCase{"// (see)", true, 3, "// "},
        DetectionCase{"// a//b", true, 3, "// "},
        DetectionCase{"//", true, std::nullopt, "//"},
        DetectionCase{"   ", true, std::nullopt, "   "},
        DetectionCase{"", false, std::nullopt, std::nullopt},
        DetectionCase{"code()", false, 0, std::nullopt},
        DetectionCase{"x // y", false, 0, std::nullopt},
        DetectionCase{"    let x = 1 // note", true, 4, "    "},
        DetectionCase{"\tcode", true, 1, std::nullopt},
        DetectionCase{"\t// - tab list", true, 6, "\t// - "},
        DetectionCase{"- plain list", true, 2, std::nullopt},
        DetectionCase{"/* block", true, 3, std::nullopt},
        DetectionCase{"\u00A0// nbsp", false, 4, std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, CommentDetection,
    testing::Values(
        DetectionCase{"// `code`", true, 3, "// "},
        DetectionCase{"// \"quoted\"", true, 3, "// "},
        DetectionCase{"// // ", true, std::nullopt, "// // "},
        DetectionCase{"\t \t", true, std::nullopt, "\t \t"},
        DetectionCase{"/", true, std::nullopt, "/"},
        DetectionCase{"\f// form feed", false, 4, std::nullopt},
        // Non-ASCII letters and marks count as letters; lengths in characters.
        DetectionCase{"// Überall", true, 3, "// "},
        DetectionCase{"// e\u0301te\u0301", true, 3, "// "},
        DetectionCase{"// 日本語", true, 3, "// "},
        DetectionCase{"// 👍 emoji", true, 5, "// 👍 "},
        DetectionCase{"// 🇩🇪 flag text", true, 5, "// 🇩🇪 "},
        // A combining mark on a digit makes the whole character a text start.
        DetectionCase{"// 4\u0301x", true, 3, "// "},
        DetectionCase{"Ärger // x", false, 0, std::nullopt},
        // "//" after the first letter: the text starts at the first non-blank.
        DetectionCase{"- item // note", true, 0, std::nullopt},
        DetectionCase{"  42 apples // x", true, 2, "  "},
        DetectionCase{"  é", true, 2, "  "}));

struct ListCase {
  std::string line;
  OptionalText list;
};

void PrintTo(const ListCase& c, std::ostream* out) { *out << "«" << c.line << "»"; }

class ListPrefix : public testing::TestWithParam<ListCase> {};

TEST_P(ListPrefix, FindsTheListPart) {
  EXPECT_EQ(owned(listPrefix(GetParam().line)), GetParam().list);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ListPrefix,
    testing::Values(ListCase{"// - item", "- "}, ListCase{"//   wraps here", "  "},
                    ListCase{"// item", ""}, ListCase{"//item", std::nullopt},
                    ListCase{"  // - x", std::nullopt}, ListCase{"\t// - x", "- "},
                    ListCase{"- plain list", "- "}, ListCase{"// 1. first", "1. "},
                    ListCase{"// 2) x", "2"}, ListCase{"/* block", "/* "},
                    ListCase{" * star", " * "}, ListCase{"\tcode", "\t"},
                    ListCase{"    let x = 1", std::nullopt}, ListCase{"code", std::nullopt},
                    ListCase{"//", "//"}, ListCase{"", std::nullopt},
                    ListCase{"- item // note", std::nullopt}));

}  // namespace
}  // namespace brindlewort
