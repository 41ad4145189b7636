// The languages whose comments start with '#', "--", ';' or '%': which lines
// are comment lines (above all, which are never), how a file's language is
// found, and re-flow of each marker family.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "reflow/comment_lexer.h"
#include "reflow/source_language.h"
#include "lexing_checks.h"
#include "reflow/source_reflow.h"

namespace brindlewort {
namespace {

const SourceLanguage* languageOf(const char* path) {
  const SourceLanguage* language = languageForPath(path).language;
  EXPECT_NE(language, nullptr) << path;
  return language;
}

struct NeverACommentCase {
  const char* name;
  const char* file;  // its name picks the language
  const char* text;
  const char* expected;
};

// Each row: a marker that must not start a comment, or lines that hold the
// marker without being comment lines. Where a mistaken comment would hide
// a quote, the quote then keeps the next line out of the comments. The
// lines of a block comment that hold text are the block's, a marker among
// them too; its opener and closer alone are not comment lines.
const NeverACommentCase neverAComment[] = {
    {"PythonTripleQuotes", "x.py", "s = \"\"\"\n# x\n\"\"\"\n# c", "...#"},
    {"PythonTripleApostrophes", "x.py", "s = '''\n# x\n'''\n# c", "...#"},
    {"PythonPrefixedString", "x.py", "s = rb'''\n# x\n'''\n# c", "...#"},
    {"PythonFString", "x.py", "s = f\"\"\"{x}\n# {y}\n\"\"\"\n# c", "...#"},
    {"PythonEscapedQuote", "x.py", "s = 'it\\'s # no'\n# c", ".#"},
    // A docstring's lines are its text, a '#' among them too; a string
    // elsewhere is code.
    {"PythonDocstring", "x.py", "def f():\n    \"\"\"Doc.\n    # not a comment\n    \"\"\"\n    # c", ".##.#"},
    {"PythonStringAfterCode", "x.py", "def f():\n    x = 1\n    \"\"\"No doc.\n    # text\n    \"\"\"", "....."},
    {"Shebang", "x.py", "#!/usr/bin/env python3\n# c", ".#"},
    {"ShellDollarHash", "x.sh", "echo $# \"\n# x\n\"\n# c", "...#"},
    {"ShellLengthExpansion", "x.sh", "echo ${#x} '\n# x\n'\n# c", "...#"},
    {"ShellPrefixRemoval", "x.sh", "echo ${x#y} \"\n# x\n\"\n# c", "...#"},
    {"ShellHashInsideWord", "x.sh", "echo a#b 'c\n# x\n'\n# c", "...#"},
    {"ShellDoubleQuotes", "x.sh", "echo \"a\n# b\n\"\n# c", "...#"},
    {"ShellSingleQuotes", "x.sh", "echo 'a\\\n# b\n'\n# c", "...#"},
    {"ShellEscapedApostrophe", "x.sh", "echo it\\'s\n# c", ".#"},
    {"ShellHereDocument", "x.sh", "cat <<EOF\n# x\nEOF\n# c", "...#"},
    {"ShellQuotedHereDocument", "x.sh", "cat <<-'EOF' | sed 1d\n\t# x\n\tEOF\n# c", "...#"},
    {"ShellTwoHereDocuments", "x.sh", "f <<A <<\"B\"\n# x\nA\n# y\nB\n# c", ".....#"},
    {"ShellContinuedLine", "x.sh", "cmd \\\n  # x\n# c", "..#"},
    {"RubyPercentQ", "x.rb", "x = %q(a (b)\n# x\n)\n# c", "...#"},
    {"RubyPercentW", "x.rb", "x = %w[a\n# x\n]\n# c", "...#"},
    {"RubyInterpolation", "x.rb", "x = \"#{y}\n# x\n\"\n# c", "...#"},
    {"RubyRegex", "x.rb", "if x =~ /'#/\n# c\nend", ".#."},
    {"RubyExtendedRegex", "x.rb", "R = /(\n  # a\n  b)/x\n# c", "...#"},
    {"RubyHereDocument", "x.rb", "x = <<~EOS\n  # x\n  EOS\n# c", "...#"},
    {"RubyEmbeddedDocument", "x.rb", "=begin\n# x\n=end\n# c", "...#"},
    {"RubyDataAfterEnd", "x.rb", "__END__\n# x", ".."},
    {"PerlLastIndex", "x.pl", "my $n = $#a; my $s = \"\n# x\n\";\n# c", "...#"},
    {"PerlRegex", "x.pl", "if ($x =~ /'#/) {}\n# c", ".#"},
    {"PerlSubstitution", "x.pl", "$x =~ s{'}\n  {#};\n# c", "..#"},
    {"PerlQuoteWords", "x.pl", "my @a = qw(a\n# x\n);\n# c", "...#"},
    {"PerlQuoteWithHash", "x.pl", "my $s = q#a'#;\n# c", ".#"},
    {"PerlHereDocument", "x.pl", "print <<\"EOF\";\n# x\nEOF\n# c", "...#"},
    {"PerlHereDocumentAfterABlank", "x.pl", "$x .= << 'EOT';\n# x\nEOT\n# c", "...#"},
    {"PerlDocumentation", "x.pl", "=pod\n\n# x\n\n=cut\n# c", ".....#"},
    {"YamlDoubleQuoted", "x.yaml", "a: \"x\n  # y\n  z\"\n# c", "...#"},
    {"YamlSingleQuoted", "x.yaml", "a: 'x''s\n  # y'\n# c", "..#"},
    {"YamlLiteralBlock", "x.yaml", "a: |\n  # y\n\n  z\n# c", "....#"},
    {"YamlFoldedBlock", "x.yml", "- a: >-  # note\n    # y\n  # c", "..#"},
    {"YamlApostropheInPlainScalar", "x.yaml", "a: don't\n# c", ".#"},
    {"TomlMultilineString", "x.toml", "a = \"\"\"\n# x\n\"\"\"\n# c", "...#"},
    {"TomlLiteralMultilineString", "x.toml", "a = '''\\\n# x\n'''\n# c", "...#"},
    {"CMakeBracketArgument", "CMakeLists.txt", "set(x [==[\n# y\n]==])\n# c", "...#"},
    {"CMakeBracketComment", "x.cmake", "#[[\n# y\n]]\n# c", ".#.#"},
    {"CMakeQuotedArgument", "x.cmake", "set(x \"a\n# b\n\")\n# c", "...#"},
    {"CMakeEscapedHash", "x.cmake", "set(x a\\#b \"\n# c\n\")", "..."},
    {"MakefileRecipeLine", "Makefile", "all:\n\t# recipe\n# c", "..#"},
    {"MakefileContinuedLine", "GNUmakefile", "X = a \\\n  # b\n# c", "..#"},
    {"MakefileDefine", "x.mk", "define X\n# y\nendef\n# c", "...#"},
    {"DockerfileHereDocument", "Dockerfile", "RUN <<EOF\n# x\nEOF\n# c", "...#"},
    {"PowerShellBlock", "x.ps1", "<#\n# x\n#>\n# c", ".#.#"},
    {"PowerShellHereString", "x.ps1", "$s = @\"\n# x\n\"@\n# c", "...#"},
    {"PowerShellBackslashIsNoEscape", "x.ps1", "$p = \"C:\\\"\n# c", ".#"},
    {"ElixirSigil", "x.ex", "x = ~s(a\n# x\n)\n# c", "...#"},
    {"ElixirCharacter", "x.exs", "x = ?# <> \"\n# y\n\"\n# c", "...#"},
    {"ElixirHeredoc", "x.ex", "@doc \"\"\"\n# x\n\"\"\"\n# c", "...#"},
    {"JuliaBlock", "x.jl", "#= a\n# x\n=#\n# c", "##.#"},
    {"NixIndentedString", "x.nix", "x = ''\n  # y ''$ '''\n'';\n# c", "...#"},
    {"RString", "x.r", "x <- 'a\n# b\n'\n# c", "...#"},
    {"SqlDollarQuotes", "x.sql", "AS $body$\n-- x\n$body$;\n-- c", "...#"},
    {"SqlString", "x.sql", "SELECT 'it''s\n-- x\n';\n-- c", "...#"},
    {"SqlBlock", "x.sql", "/* a\n-- x\n*/\n-- c", "##.#"},
    {"LuaLongComment", "x.lua", "--[==[\n-- x\n]==]\n-- c", ".#.#"},
    {"LuaLongString", "x.lua", "s = [[\n-- x\n]]\n-- c", "...#"},
    {"HaskellOperator", "x.hs", "--> x\n-- c", ".#"},
    {"HaskellNestedBlock", "x.hs", "{- a {- b -}\n-- x\n-}\n-- c", "...#"},
    {"ElmBlock", "x.elm", "{-| doc\n-- x\n-}\n-- c", "##.#"},
    {"AdaAttribute", "x.adb", "X'First \"\n-- c", ".#"},
    {"LispCharacter", "x.lisp", "(list #\\; \"\n; x\n\")\n; c", "...#"},
    {"LispBlock", "x.scm", "#| a\n; x\n|#\n; c", "##.#"},
    {"EmacsLispCharacter", "x.el", "(list ?; \"\n; x\n\")\n; c", "...#"},
    {"ClojureCharacter", "x.clj", "(str \\; \"\n; x\n\")\n; c", "...#"},
    {"ErlangCharacter", "x.erl", "X = $%, Y = \"\n% x\n\",\n% c", "...#"},
    {"TexEscapedPercent", "x.tex", "50\\% done\n% c", ".#"},
};

// Ruby's << followed by a blank appends: what follows is no here-document.
TEST(StillAComment, AfterRubyAppendingAString) {
  EXPECT_EQ(mask(lexComments("to << \" [\" + s + \"]\"\n# c\n", languageOf("x.rb"))), ".#.");
  EXPECT_EQ(mask(lexComments("to << 'EOS'\n# c\n", languageOf("x.rb"))), ".#.");
}

class NeverAComment : public testing::TestWithParam<NeverACommentCase> {};

TEST_P(NeverAComment, IsCode) {
  const NeverACommentCase& c = GetParam();
  const SourceLanguage* language = languageForFile(c.file, c.text).language;
  ASSERT_NE(language, nullptr) << c.file;
  EXPECT_EQ(mask(lexComments(c.text, language)), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, NeverAComment, testing::ValuesIn(neverAComment),
                         [](const auto& param) { return std::string(param.param.name); });

// Whole lines of one language, and which of them are comment lines.
struct LanguagePieces {
  std::string file;
  std::string comment;  // a comment line of the language
  std::vector<Piece> pieces;
};

std::vector<LanguagePieces> allPieces() {
  return {
      {"x.py", "# note", {{"s = \"\"\"\n# x\n\"\"\"", "..."}, {"x = 'a # b'  # c", "."}, {"## two", "#"}}},
      {"x.sh",
       "# note",
       {{"cat <<EOF\n# x\nEOF", "..."}, {"echo ${#a} $# 'q\n# x'", ".."}, {"f \\\n # x", ".."}}},
      {"x.rb", "# note", {{"x = %w(a\n# x\n)", "..."}, {"y = <<~E\n # x\n E", "..."}, {"z = a / b", "."}, {"t << \" [\" + s", "."}}},
      {"x.pl", "# note", {{"=head1 X\n# x\n=cut", "..."}, {"s/a'/b/g;", "."}, {"$n = $#a;", "."}}},
      {"x.yaml", "# note", {{"a: |\n    # x", ".."}, {"b: \"#\n  # x\"", ".."}, {"c: it's", "."}}},
      {"x.cmake", "# note", {{"set(a [[\n# x\n]])", "..."}, {"#[[\n# x\n]]", ".#."}, {"#[=[ a\n]] b\n#]=]", "##."}}},
      {"Makefile", "# note", {{"all:\n\t# x", ".."}, {"define A\n# x\nendef", "..."}}},
      {"x.sql", "-- note", {{"$$\n-- x\n$$;", "..."}, {"'a\n-- x\n'", "..."}, {"/*\n-- x\n*/", ".#."}}},
      {"x.lua", "-- note", {{"--[[\n-- x\n]]", ".#."}, {"s = [=[\n-- x\n]=]", "..."}, {"--[==[\n-- x\n--]==]", ".#."}}},
      {"x.hs", "-- note", {{"{- {- -}\n-- x\n-}", "..."}, {"x = y --> z", "."}}},
      {"x.lisp", ";;; note", {{"#|\n; x\n|#", ".#."}, {"(f #\\; \"\n; x\n\")", "..."}}},
      {"x.erl", "%% note", {{"X = $%,", "."}, {"Y = \"\n% x\n\",", "..."}}},
  };
}

// Programs glued from random pieces, every line indented at random: exactly
// the pieces' comment lines are comment lines, lexed whole or in pieces.
TEST(OtherMarkersProperty, MarksExactlyTheCommentLinesOfRandomPrograms) {
  std::mt19937 random(20261208);
  for (LanguagePieces language : allPieces()) {
    language.pieces.push_back({language.comment, "#"});
    language.pieces.push_back({"x = 1", "."});
    expectMasksOfRandomPrograms(language.pieces, languageOf(language.file.c_str()), language.file, random, 0);
  }
}

// Whatever the bytes, a line comment is one by the line rule of its marker,
// and lexing in pieces gives what lexing the whole text gives.
TEST(OtherMarkersProperty, RandomBytesLexTheSameInPieces) {
  const std::string alphabet = "#-;%\"'`\\\n\r${}()[]<>|=~?@_ \t/qsEOFmrwaZ0\xc3\xa9\xff";
  std::mt19937 random(11);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size());
  for (const char* file : {"x.py", "x.sh", "x.rb", "x.pl", "x.yaml", "x.toml", "x.cmake", "Makefile", "Dockerfile",
                           "x.ps1", "x.ex", "x.jl", "x.nix", "x.r", "x.ini", "x.sql", "x.lua", "x.hs", "x.adb",
                           "x.lisp", "x.el", "x.clj", "x.tex", "x.erl", "x.tcl"}) {
    const SourceLanguage* rules = languageOf(file);
    for (int run = 0; run < 1500; ++run) {
      std::string text(pick(random) % 48, ' ');
      for (char& ch : text) {
        const std::size_t i = pick(random);
        ch = i == alphabet.size() ? '\0' : alphabet[i];
      }
      const CommentMap lexed = lexComments(text, rules);
      ASSERT_EQ(lexedInPieces(text, rules, random), lexed) << file << ": " << text;
      std::size_t begin = 0;
      for (const CommentFacts& facts : lexed) {
        const std::size_t end = std::min(text.find('\n', begin), text.size());
        if (facts.role == CommentRole::wholeLine) {
          const std::string_view line = std::string_view(text).substr(begin, end - begin);
          ASSERT_EQ(lineMarkerAt(line, rules->comments), facts.markerAt) << file << ": " << text;
        }
        begin = end + 1;
      }
    }
  }
}

// The name, then the extension, then a shebang or a modeline.
TEST(LanguageForFile, ReadsNameExtensionShebangAndModeline) {
  const struct {
    const char* path;
    const char* text;
    const char* language;  // "" for none
  } cases[] = {
      {"Makefile", "", "Makefile"},
      {"src/GNUmakefile", "", "Makefile"},
      {"Makefile.am", "", "Makefile"},
      {"Makefile.PL", "", "Perl"},
      {"CMakeLists.txt", "", "CMake"},
      {"notes.txt", "#!/bin/sh\n", ""},
      {"Dockerfile", "", "Dockerfile"},
      {"Dockerfile.build", "", "Dockerfile"},
      {"x.m", "% a comment\n", "Objective-C"},
      {"include/c++/vector", "", "C++"},
      {"tools/run.py", "", "Python"},
      {"bin/tool", "#!/usr/bin/env python3\n", "Python"},
      {"bin/tool", "#!/usr/bin/env -S python3.11 -u\n", "Python"},
      {"bin/tool", "#! /bin/bash -e\n", "Shell"},
      {"bin/tool", "#!/usr/bin/perl -w\n", "Perl"},
      {"bin/tool", "#!/usr/bin/make -f\n", "Makefile"},
      {"conf/x", "# vim: set ft=yaml ts=2:\na: 1\n", "YAML"},
      {"conf/x", "a\nb\nc\nd\ne\nf\ng\n# vim: filetype=sh\n", "Shell"},
      {"conf/x", ";; -*- mode: emacs-lisp; -*-\n", "Emacs Lisp"},
      {"conf/x", "# -*- ruby -*-\n", "Ruby"},
      {"conf/x", "# -*- coding: utf-8 -*-\n", ""},
      {"conf/x", "a\nb\nc\nd\ne\n# vim: ft=sh\nf\ng\nh\ni\nj\nk\n", ""},
      {"conf/x", "#!/usr/bin/unknown\n", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    const SourceLanguage* language = languageForFile(c.path, c.text).language;
    EXPECT_EQ(language ? language->name : "", c.language) << c.path << ": " << c.text;
  }
  EXPECT_EQ(languageNamed("Python"), languageOf("x.py"));
  EXPECT_EQ(languageNamed("shellscript"), languageOf("x.sh"));
  EXPECT_EQ(languageNamed("plaintext"), nullptr);
}

struct MarkerReflowCase {
  const char* name;
  const char* file;
  ReflowMode mode;
  std::size_t width;
  const char* input;
  const char* expected;  // null: unchanged
};

std::string reflowIn(const char* file, std::string_view text, ReflowMode mode, std::size_t width) {
  SourceReflowOptions options;
  options.settings.mode = mode;
  options.settings.width = width;
  return reflowSource(text, lexComments(text, languageForFile(file, text).language), options);
}

constexpr ReflowMode wrap = ReflowMode::wrap;
constexpr ReflowMode fill = ReflowMode::fill;
constexpr ReflowMode unwrap = ReflowMode::unwrap;

const MarkerReflowCase markerReflow[] = {
    {"HashWraps", "x.py", wrap, 20, "x = 1\n# aaaa bbbb cccc dddd eeee\ny = 2\n",
     "x = 1\n# aaaa bbbb cccc\n# dddd eeee\ny = 2\n"},
    {"HashRunIsItsOwnMarker", "x.py", fill, 20, "    ## aaaa bbbb cccc dddd\n    ## eeee\n",
     "    ## aaaa bbbb\n    ## cccc dddd\n    ## eeee\n"},
    {"HashesApartAreTwoComments", "x.sh", unwrap, 80, "# aaaa\n# bbbb\n## cccc\n## dddd\n",
     "# aaaa bbbb\n## cccc dddd\n"},
    {"RoxygenMarkerKept", "x.r", wrap, 20, "#' aaaa bbbb cccc dddd\n", "#' aaaa bbbb cccc\n#' dddd\n"},
    {"ShebangAndCodingLineKept", "x.py", fill, 20,
     "#!/usr/bin/env python3 -u -X dev\n# -*- coding: utf-8 -*-\n# aaaa\n", nullptr},
    {"CodingLineKept", "x.py", unwrap, 80, "# coding: latin-1\n# aaaa\n", nullptr},
    {"ModelineKept", "x.sh", fill, 20, "# aaaa\n# vim: set ft=sh ts=4 sw=4 et:\n", nullptr},
    {"EmacsModelineKept", "x.rb", fill, 20, "# -*- mode: ruby; indent-tabs-mode: nil -*-\n", nullptr},
    {"DockerfileDirectiveKept", "Dockerfile", unwrap, 80, "# syntax=docker/dockerfile:1\n# aaaa\n", nullptr},
    {"HashDoesNotOpenLine", "x.py", fill, 12, "# aaaa bbbb #123 cccc\n", "# aaaa\n# bbbb #123\n# cccc\n"},
    {"DashWraps", "x.sql", wrap, 20, "-- aaaa bbbb cccc dddd eeee\n", "-- aaaa bbbb cccc\n-- dddd eeee\n"},
    {"TripleDashKept", "x.lua", wrap, 20, "--- aaaa bbbb cccc dddd eeee\n", "--- aaaa bbbb cccc\n--- dddd eeee\n"},
    {"SemicolonsKept", "x.lisp", wrap, 20, ";;; aaaa bbbb cccc dddd\n(a)\n  ;; eeee ffff gggg hhhh\n",
     ";;; aaaa bbbb cccc\n;;; dddd\n(a)\n  ;; eeee ffff gggg\n  ;; hhhh\n"},
    {"PercentWraps", "x.tex", wrap, 20, "% aaaa bbbb cccc dddd\n\\x\n", "% aaaa bbbb cccc\n% dddd\n\\x\n"},
    {"DoublePercentKept", "x.erl", wrap, 20, "%% aaaa bbbb cccc dddd\n", "%% aaaa bbbb cccc\n%% dddd\n"},
    {"StringLinesNeverMove", "x.py", fill, 20, "s = '''\n# aaaa bbbb cccc dddd eeee\n'''\n", nullptr},
    // Seen on real code: each of these was joined or broken.
    {"TextGluedToTheMarkerIsKept", "x.pl", unwrap, 80, "#pod =head1 NAME\n#pod\n#pod aaaa bbbb\n#pod cccc\n", nullptr},
    {"QuoteGluedToTheMarkerIsNoDocMarker", "x.pl", wrap, 16, "#'aaaa bbbb cccc dddd\n", nullptr},
    {"BoxDrawnWithTheMarkerIsKept", "x.pl", unwrap, 80, "#  aaaa bbbb  #\n#  cccc dddd  #\n", nullptr},
    {"LicenceUnderABlankCommentLineIsKept", "x.sh", unwrap, 80,
     "#\n# Copyright 2010 A\n# Copyright 2011 B\n#\n# aaaa\n# bbbb\n",
     "#\n# Copyright 2010 A\n# Copyright 2011 B\n#\n# aaaa bbbb\n"},
    {"LicenceUnderAShebangIsKept", "x.sh", unwrap, 80, "#!/bin/sh\n# Copyright 2010 A\n# Licensed under the MIT licence\n",
     nullptr},
    {"CommentedOutLuaIsKept", "x.lua", unwrap, 80, "-- local x = f(1)\n-- local y = 2\n-- function M.g(x)\n", nullptr},
    {"CodeWithItsOwnCommentIsKept", "x.lua", unwrap, 80, "-- f(\"a\")   -- \"b\"\n-- g(x)\n", nullptr},
    // Packed with two spaces, the sentence gap falls at the line end; the
    // next fill reads that break (where one space would have fitted) as the
    // two-space mark and keeps it.
    {"SentenceGapAtALineEndKeepsTwo", "x.py", fill, 15, "# aaaa bbbb.  Cc dddd\n", "# aaaa bbbb.\n# Cc dddd\n"},
    // Docstrings: text under the quotes, the summary's place, the blank line
    // after it and the closing quotes kept; sections and doctests as lines.
    {"DocstringSummaryGoesOnUnderTheQuotes", "x.py", wrap, 30,
     "def f():\n    \"\"\"Returns the value of the key.\n\n    More.\n    \"\"\"\n",
     "def f():\n    \"\"\"Returns the value of\n    the key.\n\n    More.\n    \"\"\"\n"},
    {"DocstringTextAndClosingQuotes", "x.py", fill, 30,
     "class A:\n    '''\n    One two three four five six seven.'''\n",
     "class A:\n    '''\n    One two three four five\n    six seven.'''\n"},
    {"DocstringSectionsStayLines", "x.py", fill, 40,
     "def f(x):\n    \"\"\"Doc.\n\n    Args:\n        x: the value to look at, long enough to wrap.\n\n"
     "    >>> f(1)\n    1\n    \"\"\"\n",
     nullptr},
    {"ModuleDocstring", "x.py", fill, 30, "\"\"\"One two three four five six seven.\n\"\"\"\nimport os\n",
     "\"\"\"One two three four five six\nseven.\n\"\"\"\nimport os\n"},
    {"ModuleDocstringAfterAShebang", "x.py", fill, 30,
     "#!/usr/bin/env python3\n\"\"\"One two three four five six seven.\n\"\"\"\nimport os\n",
     "#!/usr/bin/env python3\n\"\"\"One two three four five six\nseven.\n\"\"\"\nimport os\n"},
    // A docstring of one line, left while it fits, is broken as a block of
    // one line is: under its quotes, the closing quotes after the last word.
    {"OneLineDocstringThatFitsIsKept", "x.py", fill, 80, "def f():\n    \"\"\"Return the key.\"\"\"\n", nullptr},
    {"LongOneLineDocstringIsBroken", "x.py", wrap, 40,
     "def f():\n    \"\"\"Return True if func is a decorated coroutine.\"\"\"\n",
     "def f():\n    \"\"\"Return True if func is a\n    decorated coroutine.\"\"\"\n"},
    // A doctest block runs from the prompt to the next blank line.
    {"DoctestBlockStaysLines", "x.py", unwrap, 80,
     "class A:\n    \"\"\"\n    Runs the cases\n    and counts them.\n\n        >>> tests = find(A)\n"
     "        >>> for test in tests:\n        ...     run(test)\n        A -> passed\n\n    More.\n    \"\"\"\n",
     "class A:\n    \"\"\"\n    Runs the cases and counts them.\n\n        >>> tests = find(A)\n"
     "        >>> for test in tests:\n        ...     run(test)\n        A -> passed\n\n    More.\n    \"\"\"\n"},
    {"DoctestInALineComment", "x.py", fill, 30, "# >>> x = f(1)\n# 2\n#\n# one two three four five six seven\n",
     "# >>> x = f(1)\n# 2\n#\n# one two three four five six\n# seven\n"},
    {"StringAfterCodeIsNoDocstring", "x.py", fill, 20,
     "def f():\n    x = 1\n    \"\"\"One two three four five six seven.\n    \"\"\"\n", nullptr},
};

class MarkerReflow : public testing::TestWithParam<MarkerReflowCase> {};

TEST_P(MarkerReflow, GivesTheExpectedText) {
  const MarkerReflowCase& c = GetParam();
  const std::string expected = c.expected ? c.expected : c.input;
  const std::string once = reflowIn(c.file, c.input, c.mode, c.width);
  EXPECT_EQ(once, expected);
  EXPECT_EQ(reflowIn(c.file, once, c.mode, c.width), once) << "not idempotent";
}

INSTANTIATE_TEST_SUITE_P(Cases, MarkerReflow, testing::ValuesIn(markerReflow),
                         [](const auto& param) { return std::string(param.param.name); });

// A paragraph joined by unwrap fills back as the paragraph itself fills,
// though greedy breaks would leave a line that reads as code or as a
// directive: filling chooses other breaks rather than leaving it joined.
TEST(MarkerReflow, UnwrappedParagraphsFillBack) {
  struct Case {
    const char* file;
    std::size_t width;
    const char* input;
  };
  const Case cases[] = {
      // The greedy last line "run-time SSE detection on gcc;" reads as a statement.
      {"x.c", 100,
       "/*\n      2.15  (2017-03-18) fix png-1,2,4 bug; now all Imagenet JPGs decode;\n"
       "                         warning fixes; disable run-time SSE detection on gcc;\n*/\n"},
      // A docstring line opening "scenarios: when" is no tool's directive.
      {"x.py", 100,
       "def f():\n    \"\"\"\n    Map a logging level name to a key in the priority_names map.\n"
       "    This is useful in two scenarios: when custom levels are being\n"
       "    used, and in the case where you can't do a straightforward\n"
       "    mapping by lowercasing the logging level name.\n    \"\"\"\n"},
      {"x.rs", 60,
       "// The flag is read once; when it is set, later calls do nothing\n"
       "// and return x;\n"},
      // A lone ")" after a word too wide for any line goes up to it.
      {"x.py", 50,
       "# Path does not exist or is a broken symlink\n"
       "# (see http://web.archive.org/web/20200623061726/https://bitbucket.org/x/ )\n"},
  };
  for (const Case& c : cases) {
    const std::string filled = reflowIn(c.file, c.input, ReflowMode::fill, c.width);
    const std::string joined = reflowIn(c.file, c.input, ReflowMode::unwrap, c.width);
    EXPECT_NE(joined, c.input) << c.input;
    EXPECT_EQ(reflowIn(c.file, joined, ReflowMode::fill, c.width), filled) << c.input;
  }
}

}  // namespace
}  // namespace brindlewort
