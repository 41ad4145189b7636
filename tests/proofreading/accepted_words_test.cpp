// The words that are right whatever the dictionary says: how identifiers
// split into words, which forms of an accepted word pass, and which words
// of a source text count as its code's vocabulary.

#include <gtest/gtest.h>

#include "proofreading/accepted_words.h"
#include "proofreading/code_vocabulary.h"
#include "proofreading/identifier_parts.h"
#include "proofreading/programmer_words.h"
#include "reflow/source_language.h"

namespace brindlewort {
namespace {

using Parts = std::vector<std::string_view>;

TEST(IdentifierParts, SplitsEveryNamingStyle) {
  const std::pair<std::string_view, Parts> cases[] = {
      {"camelCaseName", {"camel", "Case", "Name"}},
      {"PascalCase", {"Pascal", "Case"}},
      {"snake_case_name", {"snake", "case", "name"}},
      {"kebab-case", {"kebab", "case"}},
      {"SCREAMING_CASE", {"SCREAMING", "CASE"}},
      {"parseHTTPRequest", {"parse", "HTTP", "Request"}},
      {"utf8Decoder2x", {"utf", "Decoder", "x"}},
      {"__cxa_guard", {"cxa", "guard"}},
      {"HTTP", {"HTTP"}},
      {"x", {"x"}},
      {"1234", {}},
      {"", {}},
      {"größeWert", {"größe", "Wert"}},
  };
  for (const auto& [identifier, parts] : cases) EXPECT_EQ(identifierParts(identifier), parts) << identifier;
}

TEST(AcceptedWords, AcceptsCasePluralAndPossessiveForms) {
  AcceptedWords words;
  for (const char* word : {"deque", "subrange", "index", "dependency", "Prefilter", "class", "process", "hash", "patch", "node"})
    words.add(word);
  const std::pair<std::string_view, bool> cases[] = {
      {"deque", true},      {"Deque", true},        {"DEQUE", true},      {"deques", true},
      {"deque's", true},    {"deque\u2019s", true}, {"deques'", true},    {"Subranges", true},
      {"indexes", true},    {"dependencies", true}, {"prefilter", true},  {"PREFILTERS", true},
      // Near misses stay unknown: a prefix, a longer word, a changed letter.
      {"dequ", false},      {"dequeue", false},     {"subrnage", false},  {"indx", false},
      {"", false},          {"s", false},
      // A hiss takes "es": never a bare "s" after s, x, sh or ch.
      {"classes", true},    {"processes", true},    {"hashes", true},     {"patches", true},
      {"nodes", true},      {"classs", false},      {"processs", false},  {"indexs", false},
      {"hashs", false},     {"patchs", false},      {"classs'", false},   {"nodees", false},
  };
  for (const auto& [word, accepted] : cases) EXPECT_EQ(words.accepts(word), accepted) << word;
}

TEST(AcceptedWords, ProgrammersDictionaryHoldsGeneralTermsOnly) {
  const AcceptedWords& words = programmerWords();
  EXPECT_GT(words.size(), 300u);
  EXPECT_LE(words.size(), 3000u);
  for (const char* term : {"mutex", "deque", "enum", "struct", "namespace", "regex", "codepoint",
                           "subrange", "iterator", "nullptr", "Mutexes", "enums"})
    EXPECT_TRUE(words.accepts(term)) << term;
  for (const char* typo : {"mutx", "namespce", "iteratr"}) EXPECT_FALSE(words.accepts(typo)) << typo;
}

TEST(CodeVocabulary, TakesIdentifiersOfCodeButNotOfCommentsOrStrings) {
  const std::string_view source =
      "// The frobnicator wakes the quuxWorker.\n"
      "int frobnicateAll(QuuxWorker* wrkr) {\n"
      "  const char* message = \"glorpy text\"; /* blocky zorp */\n"
      "  return wrkr->run_sprocket(0x1Fu, 'z');\n"
      "}\n"
      "auto s = R\"raw(rawword)raw\";\n";
  AcceptedWords words;
  addCodeVocabulary(words, source, languageForPath("a.cpp").language);
  for (const char* word : {"frobnicate", "all", "frobnicateall", "quux", "worker", "wrkr", "run", "sprocket",
                           "message", "return"})
    EXPECT_TRUE(words.accepts(word)) << word;
  for (const char* word : {"frobnicator", "glorpy", "blocky", "zorp", "rawword", "wakes", "runsprocket"})
    EXPECT_FALSE(words.accepts(word)) << word;
}

TEST(CodeVocabulary, ReadsEachLanguageWithItsOwnLexer) {
  AcceptedWords rust;
  addCodeVocabulary(rust, "let s = r#\"inraw\"#; let lifetime_name: &'static str = \"x\";\n",
                    languageForPath("a.rs").language);
  EXPECT_TRUE(rust.accepts("lifetime"));
  EXPECT_FALSE(rust.accepts("inraw"));
  AcceptedWords go;
  addCodeVocabulary(go, "s := `inrawgo`\nvar bufPool sync.Pool\n", languageForPath("a.go").language);
  EXPECT_TRUE(go.accepts("buf"));
  EXPECT_FALSE(go.accepts("inrawgo"));
}

}  // namespace
}  // namespace brindlewort
