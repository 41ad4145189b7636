#!/usr/bin/python3
"""Cases for the comment lexers and the reach count of syntax_corpus, the
parts that can silently miscount."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import comment_lexers as cl  # noqa: E402
import corpus_check as cc  # noqa: E402
import syntax_corpus as sx  # noqa: E402


def groups(src, lang):
    return [(g.kind, g.first, g.marker, g.trailing, g.texts) for g in cl.SyntaxView(src, lang).groups]


class CommentGroups(unittest.TestCase):
    # (name, language, source, groups as (kind, first line, marker, after code, texts))
    CASES = [
        ("javadoc with decoration", "java", "/**\n * Returns x.\n * @param a b\n */\nint f();\n",
         [("doc", 0, "/**", False, ["", " Returns x.", " @param a b", " "])]),
        ("block with text on the opener and closer", "c-all", "/* One\n   two. */\nint x;\n",
         [("block", 0, "/*", False, [" One", "   two. "])]),
        ("block after code", "c-all", "int x; /* why */\n", [("block", 0, "/*", True, [" why "])]),
        ("code after a block", "c-all", "/* a */ int x;\n", [("block", 0, "/*", True, [" a "])]),
        ("banner stays text", "c-all", "/*****\n * a\n *****/\n", [("block", 0, "/*", False,
                                                                   ["****", " a", " "])]),
        ("preprocessor lines are code", "c-all", "#include <a.h>\n#define A 1 // c\n",
         [("line", 1, "//", True, [" c"])]),
        ("JSDoc beside a regex", "typescript", "/** d */\nlet r = /\\/*x/; // t\n",
         [("doc", 0, "/**", False, [" d "]), ("line", 1, "//", True, [" t"])]),
        ("python comments and docstrings", "python",
         '#!/usr/bin/python3\n"""Doc.\n\nMore."""\nx = "# no"  # why\ndef f():\n    \'\'\'One.\'\'\'\n',
         [("doc", 1, '"""', False, ["Doc.", "", "More."]), ("line", 4, "#", True, [" why"]),
          ("doc", 6, "'''", False, ["One."])]),
        ("other strings are code", "python", 'x = 1\n"""not a docstring"""\n', []),
        ("python the interpreter refuses", "python", "print 'x'  # c\n", []),
        ("shell: $#, ${#x}, ${x#y}, here-document", "shell",
         "#!/bin/sh\necho $# ${#x} ${x#y} # t\ncat <<EOF\n# no\nEOF\n# yes\n",
         [("line", 1, "#", True, [" t"]), ("line", 5, "#", False, [" yes"])]),
        ("run of # continues a comment after code", "shell", "a=1  # x\n     # y\n",
         [("line", 0, "#", True, [" x", " y"])]),
        ("## is its own marker", "cmake", "# a\n## b\n", [("line", 0, "#", False, [" a"]),
                                                          ("line", 1, "##", False, [" b"])]),
        ("separator is text", "cmake", "##########\n", [("line", 0, "#", False, ["#########"])]),
        ("cmake bracket comment", "cmake", "#[[ a\n b ]]\nset(x 1)\n",
         [("block", 0, "#[[", False, [" a", " b "])]),
        ("lua block and doc", "lua", "--[[ a\n b ]]\n--- d\nlocal x = '--no' -- t\n",
         [("block", 0, "--[[", False, [" a", " b "]), ("line", 2, "---", False, [" d"]),
          ("line", 3, "--", True, [" t"])]),
        ("perl pod", "perl", "my $x; # t\n\n=pod\n\nText\n\n=cut\n",
         [("line", 0, "#", True, [" t"]), ("pod", 2, "=pod", False, ["", "", "Text", "", ""])]),
        ("ruby quoting", "ruby", "s = %q{# no}\n# yes\n", [("line", 1, "#", False, [" yes"])]),
        ("yaml quoted and block scalars", "yaml", "b: '# no'\nc: |\n  # no\n# yes\n",
         [("line", 3, "#", False, [" yes"])]),
        # "#" and "--" that are no comment.
        ("python f-string", "python", 'x = f"{a} # no"\ny = 1  # yes\n', [("line", 1, "#", True, [" yes"])]),
        ("ruby %w, here-document, regex, interpolation", "ruby",
         'a = %w[# no]\nb = <<~EOS\n  # no\nEOS\nc = /a#b/ # yes\nd = "#{x} # no"\n',
         [("line", 4, "#", True, [" yes"])]),
        ("perl $#, regex, here-document", "perl", "my $n = $#list; # a\n$s =~ m/a#b/; # b\nprint <<EOT;\n# no\nEOT\n",
         [("line", 0, "#", True, [" a"]), ("line", 1, "#", True, [" b"])]),
        ("yaml folded scalar", "yaml", 'a: >\n  # no\n  text\nb: "# no" # yes\n', [("line", 3, "#", True, [" yes"])]),
        ("cmake bracket argument", "cmake", "set(x [=[ # no ]=]) # yes\n", [("line", 0, "#", True, [" yes"])]),
        ("cmake escaped hash", "cmake", "set(x a\\#b) # yes\n", [("line", 0, "#", True, [" yes"])]),
        ("cmake quoted argument", "cmake", 'set(x "a\\"# no") # yes\n', [("line", 0, "#", True, [" yes"])]),
        ("lua long string", "lua", "s = [[ -- no ]] -- yes\n", [("line", 0, "--", True, [" yes"])]),
        ("toml multi-line string", "toml", 'a = """\n# no\n""" # yes\n', [("line", 2, "#", True, [" yes"])]),
        ("sql dash and block", "sql", "-- a\n/* b */ select 1;\n",
         [("line", 0, "--", False, [" a"]), ("block", 1, "/*", True, [" b "])]),
    ]

    def test_cases(self):
        for name, lang, src, want in self.CASES:
            with self.subTest(name):
                self.assertEqual(groups(src, lang), want)

    def test_detectors_read_block_texts(self):
        view = cl.SyntaxView("/*\n * Copyright 2020 A.\n * Licensed under X.\n *\n * Text.\n */\nint x;\n", "c-all")
        self.assertEqual(cc.licence_header(view), ["/*", " * Copyright 2020 A.", " * Licensed under X."])
        self.assertEqual(view.groups[0].kinds, [None] * 6)
        docstring = cl.SyntaxView('def f():\n    """Arguments are:\n        x\n            the value.\n    """\n', "python")
        self.assertEqual(cc.staircase_steps(docstring), 1)


class Room(unittest.TestCase):
    # The room rule sees the prefix of every comment kind.
    CASES = [("hash", " " * 60 + "# a b", 80, True), ("decoration", " " * 60 + " * a b", 80, True),
             ("dashes", " " * 58 + "-- a b", 80, True), ("docstring text", " " * 40 + "a b", 80, False)]

    def test_cases(self):
        for name, line, width, want in self.CASES:
            with self.subTest(name):
                self.assertEqual(cc.too_little_room(line, width), want)


class CodeLines(unittest.TestCase):
    # (name, language, before, after, whether the code is the same)
    CASES = [
        ("javadoc re-flowed", "java", "/** a b\n * c */\nint f();\n", "/**\n * a b c\n */\nint f();\n", True),
        ("comment word moved into code", "java", "// a b\nint f();\n", "// a\nb int f();\n", False),
        ("indentation of code", "yaml", "a:\n  b: 1\n", "a:\nb: 1\n", False),
        ("yaml comment re-flowed", "yaml", "# a\n# b\na: 1 # t\n", "# a b\na: 1 # t\n", True),
        ("python docstring re-flowed", "python", 'def f():\n    """a\n    b"""\n',
         'def f():\n    """a b"""\n', True),
        ("python docstring word lost", "python", 'def f():\n    """a b"""\n', 'def f():\n    """a"""\n', False),
        ("python string that is no docstring", "python", 'x = """a\nb"""\n', 'x = """a b"""\n', False),
        ("python comment into a string", "python", "x = 'a'  # b c\n", "x = 'a'  # b\nc\n", False),
        ("shebang is code", "python", "#!/usr/bin/python3\nx = 1\n", "#!/usr/bin/python\nx = 1\n", False),
        ("shell here-document", "shell", "cat <<EOF\n# a b\nEOF\n", "cat <<EOF\n# a\n# b\nEOF\n", False),
        ("shell comment re-flowed", "shell", "# a\n# b\nls\n", "# a b\nls\n", True),
        ("shell comment word into code", "shell", "# a (b)\nls\n", "# a\n(b)\nls\n", False),
        ("shell bash refuses the result", "shell", "# it's\nls\n", "# it\n's\nls\n", False),
        ("cmake bracket comment", "cmake", "#[[ a\nb ]]\nset(x)\n", "#[[ a b ]]\nset(x)\n", True),
        ("cmake bracket argument is code", "cmake", "set(x [[ # a\nb ]])\n", "set(x [[ # a b ]])\n", False),
        ("C block re-flowed, gcc reads it", "c-all", "/* a\n b */\nint x;\n", "/* a b */\nint x;\n", True),
        ("C block closed early", "c-all", "/* a */ /* b */\nint x;\n", "/* a b\nint x; */\n", False),
    ]

    def test_cases(self):
        for name, lang, before, after, same in self.CASES:
            with self.subTest(name):
                a, b = cl.code_lines([before, after], lang)
                self.assertEqual(a == b, same, (a, b))


class Reach(unittest.TestCase):
    LONG = "# " + " ".join(["word"] * 12)  # 61 columns, 12 words

    # (name, original, brindle's output at width 40, lines explain names, counts)
    CASES = [
        ("nothing done", LONG + "\nx = 1\n", LONG + "\nx = 1\n", set(),
         {"seen": 12, "probe": 12, "reached": 0}),
        ("re-flowed", LONG + "\nx = 1\n", "# word\n# word\nx = 1\n", set(),
         {"seen": 12, "probe": 12, "reached": 12}),
        ("kept as structure", LONG + "\nx = 1\n", LONG + "\nx = 1\n", {0},
         {"seen": 12, "probe": 12, "reached": 12}),
        ("short lines are no probe", "# a b\nx = 1\n", "# a b\nx = 1\n", set(), {"seen": 2}),
        ("deep prefix is no probe", " " * 30 + LONG + "\n", " " * 30 + LONG + "\n", set(), {"seen": 12}),
        ("after code counted apart", "x = 1  " + LONG + "\n", "x = 1  " + LONG + "\n", set(),
         {"trailing_line": 12}),
        ("a kind the row leaves out", '"""' + " ".join(["word"] * 12) + '"""\n',
         '"""' + " ".join(["word"] * 12) + '"""\n', set(), {"seen_doc": 12}),
        ("refused file reaches nothing", LONG + "\n", None, set(), {"seen": 12, "probe": 12}),
    ]

    def test_cases(self):
        for name, before, probe, kept, want in self.CASES:
            with self.subTest(name):
                got = sx.reach_counts(cl.SyntaxView(before, "python"), ("line",), probe, kept)
                for key in {"seen", "probe", "reached"} | set(want):
                    self.assertEqual(got[key], want.get(key, 0), key)


if __name__ == "__main__":
    unittest.main()
