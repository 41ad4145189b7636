#!/usr/bin/env python3
"""Fails when production code spells out a comment marker in a string literal.

Which lines are comments is the lexer's to say, from the markers in the
table of languages: a consumer that tests for "//" itself would disagree
with it on a marker inside a string or a block comment. The engine keeps its
own exact definition and the table is where the markers live, so both are
exempt. Comments are skipped; a literal counts when it is a marker, or a
marker and a blank that begin a comment's text.
"""
import pathlib
import sys

FOLDERS = ["app", "base", "cli", "helper", "preferences", "proofreading", "reflow", "settings",
           "workbench"]
EXEMPT = {"reflow/source_language.h", "reflow/source_language.cpp"}
MARKERS = {"//", "///", "//!", "/*", "*/"}


def string_literals(text):
    """(line, content) of each string literal outside comments; raw strings
    and character literals are stepped over."""
    i, line, n = 0, 1, len(text)
    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
        elif text.startswith("//", i):
            i = text.find("\n", i)
            i = n if i < 0 else i
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            line += text.count("\n", i, end)
            i = end
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            open_paren = text.find("(", i + 2)
            delimiter = ")" + text[i + 2:open_paren] + '"'
            end = text.find(delimiter, open_paren)
            end = n if end < 0 else end + len(delimiter)
            yield line, text[open_paren + 1:end - len(delimiter)]
            line += text.count("\n", i, end)
            i = end
        elif c in "\"'":
            j, content = i + 1, []
            while j < n and text[j] != c and text[j] != "\n":
                if text[j] == "\\" and j + 1 < n:
                    content.append(text[j + 1])
                    j += 2
                    continue
                content.append(text[j])
                j += 1
            if c == '"':
                yield line, "".join(content)
            i = j + 1
        else:
            i += 1


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = []
    for folder in FOLDERS:
        for source in sorted((root / folder).rglob("*")):
            if source.suffix not in {".h", ".cpp", ".in"}:
                continue
            relative = str(source.relative_to(root))
            if relative in EXEMPT:
                continue
            text = source.read_text(encoding="utf-8")
            for line, content in string_literals(text):
                if content in MARKERS or content.startswith(("// ", "/* ", "//\t")):
                    faults.append(f'{relative}:{line}: the literal "{content}" looks for a comment marker; '
                                  "ask the lexer (reflow/comment_lexer.h) or the table "
                                  "(reflow/source_language.h) instead")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
