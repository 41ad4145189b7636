#pragma once

// The spelling and grammar findings of a document, as brindle spell --check
// and grammar --check list them for the same file, with the bytes each one
// covers so that the editor can underline it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "proofreading/grammar_rules.h"
#include "proofreading/spell_checker.h"

namespace brindlewort::cli::lsp {

enum class FindingKind { spelling, passiveVoice, perfectTense, repeatedWord };

struct CommentFinding {
  FindingKind kind = FindingKind::spelling;
  std::size_t line = 0;       // 0-based line of the document
  std::string_view lineText;  // that line, without its line end (a view into the text)
  std::size_t startByte = 0;  // where it starts in lineText
  // Where it ends: a passive construction may go on in the next comment line.
  std::size_t endLine = 0;
  std::string_view endLineText;
  std::size_t endByte = 0;  // in endLineText
  std::string text;  // the word, or the construction with blanks as one space
};

// The label brindle's --check lines give the kind ("spelling", "passive
// voice", "perfect tense", "repeated word").
std::string_view findingLabel(FindingKind kind);

// Every finding in text order, in the comments the lexer of the document's
// language (by the editor's name for it, else its path) finds. `checker` is the project's spell checker
// for the document (projectSpellChecker), null when no dictionary loads
// (then only grammar is checked); `rules` are the grammar findings to
// report. The text must be decodable.
std::vector<CommentFinding> commentFindings(std::string_view text, std::string_view path,
                                            const SpellChecker* checker, std::string_view editorName = {},
                                            const GrammarRules& rules = {});

}  // namespace brindlewort::cli::lsp
