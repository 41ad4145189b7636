#pragma once

// The one entry point for a whole source file: its language's lexer finds
// the comments (in pieces, on several threads for a large text) and the
// comment paragraphs are re-flowed. The CLI, the language server and the
// workbench all call it; they only choose the settings.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "reflow/comment_facts.h"
#include "reflow/source_language.h"
#include "reflow/source_reflow.h"

namespace brindlewort {

// How to run tasks by index side by side: run(count, task) calls task(i)
// for every i below count, each once, and returns when all are done. Empty
// runs them one after the other on the calling thread.
struct Parallelism {
  unsigned threads = 1;
  std::function<void(std::size_t count, const std::function<void(std::size_t)>& task)> run = {};
};

// The comment facts of every line of a text, lexed in pieces when the text
// is large: each piece goes on past its end until the lexer is back in
// plain code, and the piece that starts there takes over. The same as
// lexComments gives. A null language is the line rule.
CommentMap lexCommentsInParallel(std::string_view text, const SourceLanguage* language,
                                 const Parallelism& parallelism);

// A piece of a text for parallel work: where it starts, a line start, and
// that line's number.
struct TextPiece {
  std::size_t begin = 0;
  std::size_t firstLine = 0;
};

// The pieces of a text cut near `threads` even parts, each starting on a
// line the lexer calls code, so that no comment run is split; the last
// entry is the text's end. A text too small to be worth cutting is one piece.
std::vector<TextPiece> piecesBetweenRuns(std::string_view text, const CommentMap& comments, unsigned threads);

// The text with its comment paragraphs re-flowed by the rules of its
// language (null: the line rule), on the threads given. Once the result
// passes options.settings.sizeLimit bytes, re-flowing stops and returns
// what it has, which then passes the limit too.
std::string reflowSourceFile(std::string_view text, const SourceLanguage* language,
                             const SourceReflowOptions& options, const Parallelism& parallelism = {});

}  // namespace brindlewort
