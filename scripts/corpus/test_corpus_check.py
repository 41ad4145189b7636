#!/usr/bin/python3
"""Cases for the parts of corpus_check that can silently miscount."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import corpus_check as cc  # noqa: E402


class RustCodeLines(unittest.TestCase):
    CASES = [
        ("line comment after code", 'let a = 1; // note', ["let a = 1 ;"]),
        ("comment marker in a string", 'let s = "// no"; // yes', ['let s = "// no" ;']),
        ("nested block comment", "a /* x /* y */ still x */ b", ["a b"]),
        ("raw string with quotes", 'r#"say "// hi""#; // c', ['r#"say "// hi""# ;']),
        ("byte string and byte", "(b\"//\", b'/') // c", ["( b\"//\" , b'/' )"]),
        ("quote character is not a string", "f('\"'); // \"", ["f ( '\"' ) ;"]),
        ("escaped quote character", r"f('\''); // c", [r"f ( '\'' ) ;"]),
        ("lifetime is not a character", "fn f<'a>(x: &'a u8) // c", ["fn f < ' a > ( x : & ' a u8 )"]),
        ("string over two lines", 'let s = "a\n// b";', ['let s = "a\\n// b"', ";"]),
        ("raw identifier", "r#type // c", ["r # type"]),
    ]

    def test_cases(self):
        for name, src, want in self.CASES:
            with self.subTest(name):
                self.assertEqual(cc.rust_code_lines(src), want)


class CommentGroups(unittest.TestCase):
    # (name, language, source, groups as (first line, marker, after code))
    CASES = [
        ("run split by indent", "c", "// a\n// b\n  // c\n", [(0, "//", False), (2, "//", False)]),
        ("run split by marker", "rust", "/// a\n//! b\n// c\n",
         [(0, "///", False), (1, "//!", False), (2, "//", False)]),
        ("four slashes are plain", "rust", "//// a\n", [(0, "//", False)]),
        ("URL in a string", "c", 'f("http://x"); // c\n', [(0, "//", True)]),
        ("continued comment after code", "c", "x;  // a\n    // b\ny;\n", [(0, "//", True)]),
        ("C++ raw string", "c", 'R"x(\n// no\n)x";\n// yes\n', [(3, "//", False)]),
        ("Go raw string", "go", "`\n// no\n`\n// yes\n", [(3, "//", False)]),
        ("inside a block comment", "c", "/*\n// no\n*/ // yes\n", [(2, "//", True)]),
        ("digit separator", "c", "x = 1'000; // c\n", [(0, "//", True)]),
    ]

    def test_cases(self):
        for name, lang, src, want in self.CASES:
            with self.subTest(name):
                got = [(g.first, g.marker, g.trailing) for g in cc.View(src, lang).groups]
                self.assertEqual(got, want)


class Compare(unittest.TestCase):
    # (name, before, after, counts expected at width 20 with the fit check)
    CASES = [
        ("unchanged", "// a b\nx;\n", "// a b\nx;\n", {}),
        ("re-flowed, same words", "// aa bb\n// cc\nx;\n", "// aa bb cc\nx;\n", {"fit": 1}),
        ("long run re-flowed", "// aaaa bbbb cccc dddd eeee\n", "// aaaa bbbb cccc\n// dddd eeee\n", {}),
        ("list marker lost", "// - a\n// - b\n", "// - a\n// b\n", {"tokens": 1, "fit": 1}),
        ("word wrapped out into code", "// a b\nx;\n", "// a\nb\nx;\n", {"tokens": 1, "fit": 1}),
        ("runs of two markers merged", "/// a\n// b\nx;\n", "/// a b\nx;\n", {"tokens": 2, "fit": 2}),
        ("later runs still pair up", "// a\nx;\n// b\ny;\n", "// a\nx;\nz;\n// b\ny;\n", {}),
        ("fence changed", "// ```\n// a  b\n// ```\n", "// ```\n// a b\n// ```\n",
         {"tokens": 0, "fences": 1, "fit": 1}),
    ]

    def test_cases(self):
        for name, before, after, want in self.CASES:
            with self.subTest(name):
                got, _ = cc.compare(cc.View(before, "c"), cc.View(after, "c"), 20, True)
                for key in ("tokens", "fit", "fences"):
                    self.assertEqual(got[key], want.get(key, 0), key)


class Widths(unittest.TestCase):
    CASES = [("ascii", "abc", 3), ("tab to 8", "\tx", 9), ("tab mid-way", "abc\tx", 9),
             ("wide", "日本", 4), ("accented", "é", 1), ("fullwidth", "Ａ", 2),
             ("combining hat", "q\u0302", 1), ("emoji heart", "\u2764\ufe0f", 2),
             ("wide emoji, selector", "\U0001F600\ufe0f", 2)]

    def test_cases(self):
        for name, s, want in self.CASES:
            with self.subTest(name):
                self.assertEqual(cc.display_width(s), want)


class Room(unittest.TestCase):
    # A prefix leaving under min(20, width/2) columns keeps its paragraph.
    CASES = [("shallow", "\t// a", 80, False), ("eight tabs", "\t" * 8 + "// a", 80, True),
             ("eight tabs, wider", "\t" * 8 + "// a", 100, False), ("narrow width", "// a", 30, False),
             ("doc marker", " " * 58 + "/// a", 80, True)]

    def test_cases(self):
        for name, line, width, want in self.CASES:
            with self.subTest(name):
                self.assertEqual(cc.too_little_room(line, width), want)


class Structure(unittest.TestCase):
    # Texts after the marker, and the kind expected for each line.
    CASES = [
        ("fence", [" ```rust", " let a  =  1;", " ```", " after"], ["fence"] * 3 + [None]),
        ("unclosed fence", [" ~~~", " a"], ["fence", "fence"]),
        ("go directive", ["go:generate stringer"], ["directive"]),
        ("nolint", [" NOLINT(runtime/int)"], ["directive"]),
        ("example output", [" Output:", " 1 2", " 3"], ["directive"] * 3),
        ("separator", [" -----------", " ==== Part ===="], ["separator"] * 2),
        ("pipe table", [" | a | b |", " |---|---|"], ["table", "table"]),
        ("box drawing", [" ┌──┐ x"], ["table"]),
        ("aligned columns", [" flag     meaning"], ["table"]),
        ("link", [" [1]: https://example.com/a"], ["url"]),
        ("prose", [" Returns the value, or -1."], [None]),
        ("prose with one URL", [" See https://x.org for the rules."], [None]),
    ]

    def test_cases(self):
        for name, texts, want in self.CASES:
            with self.subTest(name):
                self.assertEqual(cc.structure_kinds(texts), want)

    def test_cgo_preamble_is_kept(self):
        view = cc.View('// #include <stdio.h>\n// #include <stdlib.h>\nimport "C"\n', "go")
        self.assertEqual(view.groups[0].kinds, ["directive", "directive"])


class LineStarts(unittest.TestCase):
    # Texts after the marker, and the kind of line kept as a line for each.
    CASES = [
        ("commented-out calls", [" tx.rollback()", " return errors.New(x)"], ["code", "code"]),
        ("brackets and declarations", ["    ]", "    let d = Tree(items)"], ["code", "code"]),
        ("member chain", ["   .optional()"], ["code"]),
        ("pseudo-code", ["   for byte in haystack:", "   state = dfa.start"], ["code", "code"]),
        ("statement", [" str += StrCat(...);"], ["code"]),
        ("prose ending in ;", [" not construct a `Flag<T>` directly and call `GetFlag()`;"], [None]),
        ("prose with for", [" for the given key (see Foo())."], [None]),
        ("directives", [" eslint-disable-next-line no-undef", " biome-ignore lint/x: <why>",
                        " @ts-expect-error", "go:noinline", " NOLINTNEXTLINE"], ["directive"] * 5),
        ("tags", [" REQUIRES: Valid()", " TODO(alice): later", " NOTE:"], ["tag"] * 3),
        ("one capital is no tag", [" A: the first"], [None]),
        ("dated and checkbox", ["  2025-09-18: Call X on shutdown.", "  [X] Platform: gamepad",
                                "  - [ ] later"], ["dated", "checkbox", "checkbox"]),
        ("field list", ["    sequence: fixed64", "    count: fixed32"], ["field", "field"]),
        ("columns", [" Unicode code point:    00010000 + xxxxyyyy", " UTF-16 high:   110110xx"],
         ["field", "field"]),
        ("a lone field is prose", [" Note: this matters.", " More prose here."], [None, None]),
    ]

    def test_cases(self):
        for name, texts, want in self.CASES:
            with self.subTest(name):
                self.assertEqual(cc.line_start_kinds(texts), want)

    def test_licence_header_and_staircase(self):
        view = cc.View("// Copyright 2020 A.\n// Licensed under X.\n//\n// Package p.\npackage p\n", "go")
        self.assertEqual(cc.licence_header(view), ["// Copyright 2020 A.", "// Licensed under X."])
        self.assertEqual(cc.licence_header(cc.View("// Package p.\npackage p\n", "go")), [])
        stairs = cc.View("/// - Parameter index: A valid\n/// index\n///     than startIndex.\nx\n", "go")
        self.assertEqual(cc.staircase_steps(stairs), 1)


if __name__ == "__main__":
    unittest.main()
