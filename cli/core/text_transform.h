#pragma once

// Transformations of a whole text and the two scopes they apply in.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "cli/core/file_processing.h"
#include "cli/core/text_options.h"
#include "reflow/comment_run_rewriting.h"
#include "reflow/source_language.h"

namespace brindlewort::cli {

// Turns a whole text into its new form; `path` names its file, whose
// extension gives the language the comments are found by. Called from
// several threads at once.
using TextTransform = std::function<std::string(std::string_view text, std::string_view path)>;

// What a file's language is for its comments: the editor's name for it
// when it gives a known one (a language server's languageId), else the
// file's name and extension, else its shebang or modeline. Standard input
// without a name keeps the line rule ("//" at the line start).
LanguageLookup commentLanguageOf(std::string_view path, std::string_view text,
                                 std::string_view editorName = {});

// The language whose lexer finds the comments of a file: null (the line
// rule) when commentLanguageOf knows none.
const SourceLanguage* commentLanguageFor(std::string_view path, std::string_view text);

// transformCommentRuns over the runs the language's lexer finds (null: the
// line rule), with the text cut between runs into pieces that up to
// `threads` threads lex and transform at once.
std::string transformCommentRunsInParallel(std::string_view text, const SourceLanguage* language,
                                           const RunLinesTransform& transform, unsigned threads);

// Splits the text at every line feed, transforms the lines and joins the
// result with line feeds, nothing added or removed beyond that.
std::string transformWholeText(std::string_view text, const LinesTransform& transform);

// Re-flows the comment paragraphs of the lines to the width
// (noCommentLengthLimit: each paragraph on one line).
LinesTransform rewrapping(std::int64_t width);

// The whole-text form of rewrapping, stopped as soon as the result would
// pass outputBound(): the engine's exact result, or why there is none.
FallibleTransform wholeTextRewrapping(std::int64_t width);

// The lines transform applied in the given scope, using up to `threads`
// threads within one text where the scope allows it.
// With `runTransform`, the comment-run scope applies that instead.
TextTransform inScope(TextScope scope, LinesTransform transform, unsigned threads,
                      RunLinesTransform runTransform = {});

}  // namespace brindlewort::cli
