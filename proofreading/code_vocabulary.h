#pragma once

// The words a program's code uses: its identifiers and their parts
// ("parseHTTPRequest" gives "parse", "http", "request" and
// "parsehttprequest"), which its comments may use too. Only code counts:
// the words of comments and string literals excuse nothing.

#include <string_view>

#include "proofreading/accepted_words.h"
#include "reflow/comment_facts.h"
#include "reflow/source_language.h"

namespace brindlewort {

// Adds the words of the text's code to `words`, lexed with the language's
// rules (C++'s when it is null). Linear in the text. With `lines`, the
// comment facts of every line are kept there from the same pass.
void addCodeVocabulary(AcceptedWords& words, std::string_view text, const SourceLanguage* language,
                       CommentMap* lines = nullptr);

// The language whose lexer reads a file for its vocabulary: the one its
// name asks for, C++'s for names without a known extension, null for
// languages without "//" comments.
const SourceLanguage* vocabularyLanguageForPath(std::string_view path);

// Whether a file of a repository adds to its vocabulary: files of the
// languages brindle reads, and headers without an extension (<vector>);
// prose files such as README would let their own typos excuse others.
bool isVocabularySource(std::string_view path, std::string_view text);

// Whether a file may be one, judged by its name alone, before it is read.
bool mayBeVocabularySource(std::string_view path);

}  // namespace brindlewort
