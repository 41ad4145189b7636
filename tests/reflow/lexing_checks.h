#pragma once

// What the lexer tests compare: a line-by-line mask of comment lines, a
// text lexed in pieces as a large file is, and random programs glued from
// pieces whose masks are known.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "reflow/comment_lexer.h"

namespace brindlewort {

// One character a line: '#' for a comment line, '.' for any other.
inline std::string mask(const CommentMap& lines) {
  std::string result;
  for (const CommentFacts& facts : lines) result += facts.isWholeLine() ? '#' : '.';
  return result;
}

// The text lexed in pieces cut at random line starts, put together as a
// large file's are: each piece goes on until the lexer is back in plain
// code, and the piece starting there takes over.
inline CommentMap lexedInPieces(std::string_view text, const SourceLanguage* rules, std::mt19937& random) {
  std::vector<std::size_t> cuts{0};
  for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
    if (at + 1 < text.size() && random() % 3 == 0) cuts.push_back(at + 1);
  }
  const std::span<const std::size_t> stops(cuts.begin() + 1, cuts.end());
  CommentMap lines;
  for (std::size_t i = 0;;) {
    const LexedLines piece = lexCommentsFrom(text, cuts[i], stops.subspan(i), rules);
    lines.insert(lines.end(), piece.lines.begin(), piece.lines.end());
    if (piece.end == text.size()) return lines;
    i = static_cast<std::size_t>(std::find(cuts.begin(), cuts.end(), piece.end) - cuts.begin());
    if (i == cuts.size()) return {};  // stopped where no piece starts
  }
}

// A piece of a program and the mask of its lines.
struct Piece {
  std::string text;
  std::string mask;
};

// Programs glued from random pieces, each line indented by up to
// `maxIndent` blanks at random: exactly the pieces' comment lines are
// comment lines, lexed whole or in pieces.
inline void expectMasksOfRandomPrograms(const std::vector<Piece>& pieces, const SourceLanguage* rules,
                                        const std::string& file, std::mt19937& random, std::size_t maxIndent) {
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<std::size_t> indent(0, maxIndent);
  for (int run = 0; run < 300; ++run) {
    std::string text, expected;
    const std::size_t count = 1 + pick(random) % 20;
    for (std::size_t i = 0; i < count; ++i) {
      const Piece& piece = pieces[pick(random)];
      if (i > 0) text += '\n';
      for (const char ch : piece.text) {
        if (maxIndent > 0 && (text.empty() || text.back() == '\n')) text.append(indent(random), ' ');
        text += ch;
      }
      expected += piece.mask;
    }
    ASSERT_EQ(mask(lexComments(text, rules)), expected) << file << " program:\n" << text;
    ASSERT_EQ(mask(lexedInPieces(text, rules, random)), expected) << file << " in pieces:\n" << text;
  }
}

}  // namespace brindlewort
