#pragma once

// Spelling as the user-facing commands check it: the marker lines and
// findings of spell_check.h, but only on comment lines of prose. Code
// inside comments (fenced and indented blocks, commented-out statements),
// tool directives, nested comments and regions switched off are not prose,
// and their words are not misspellings.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "proofreading/spell_check.h"
#include "reflow/comment_facts.h"

namespace brindlewort {

// For each line, whether the spelling check reads it: every line except
// those that the re-flow's analysis of their comment run keeps as code,
// fences, directives, nested comments or switched off.
std::vector<bool> spellCheckedLines(const std::vector<std::string_view>& lines);

// The same for the grammar check, which also leaves out tables and their
// separator lines: cells are not sentences.
std::vector<bool> grammarCheckedLines(const std::vector<std::string_view>& lines);

// Every line, each prose line followed by its marker line when it has one.
std::vector<std::string> spellCheckComments(const std::vector<std::string_view>& lines,
                                            const SpellChecker& checker);
std::vector<std::string> spellCheckComments(const std::vector<std::string>& lines,
                                            const SpellChecker& checker);

// The misspelt words of the prose lines, with the index of their line.
std::vector<std::pair<std::size_t, SpellingFinding>> commentSpellingFindings(
    const std::vector<std::string_view>& lines, const SpellChecker& checker);

// The same for one comment run, each line taken apart by the lexer's facts
// for it (one per line), so that every kind of comment line is read: line
// comments of any marker, block and doc comment lines with or without a
// decoration, docstrings. Without facts, as above.
std::vector<std::pair<std::size_t, SpellingFinding>> commentSpellingFindings(
    const std::vector<std::string_view>& lines, std::span<const CommentFacts> facts, const SpellChecker& checker);

// Every line of a comment run, each prose line followed by its marker line:
// under the line's own marker, a block's decoration (blanks where it has
// none), and never under a line that closes its block.
std::vector<std::string> spellCheckComments(const std::vector<std::string_view>& lines,
                                            std::span<const CommentFacts> facts, const SpellChecker& checker);

}  // namespace brindlewort
