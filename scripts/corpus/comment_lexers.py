"""Where the comments of a text are, for languages beyond "//", read by
lexers that owe nothing to brindle: Python's own tokenize and ast for
Python, a small reader below for CMake, python3-pygments for the rest.

A text becomes a view with the same shape as corpus_check.View (anchors
keyed by their code, comment groups with their texts), so that every
detector of corpus_check works on block comments, "#" comments and
docstrings alike. The code of a text, with its comments left out, is what
the damage check compares before and after.
"""

import ast
import bisect
import io
import re
import subprocess
import tokenize

from pygments.lexers import get_lexer_by_name
from pygments.token import Comment, String, Text

import corpus_check as cc

# The pygments lexer of each language this module reads.
PYGMENTS = {"c-all": "c", "java": "java", "typescript": "typescript", "shell": "bash", "perl": "perl",
            "ruby": "ruby", "yaml": "yaml", "toml": "toml", "sql": "sql", "lua": "lua"}

# Comment kinds: "line" (//, #, --), "block" (/* */, #[[ ]], --[[ ]]),
# "doc" (/** */, /*! */, Python docstrings), "pod" (Perl POD, Ruby =begin).
KINDS = ("line", "block", "doc", "pod")

_BLOCK_OPEN = re.compile(r"/\*\*(?![*/])|/\*!|/\*|#\[=*\[|--\[=*\[")
_BLOCK_CLOSE = re.compile(r"\**\*/$|\]=*\]$")
_DECORATION = re.compile(r"^[ \t]*\*+(?=[ \t]|$)")  # "*FILE_TIMES" opens with a word
_LINE_MARKER = re.compile(r"//[/!]?|#{1,3}|-{2,3}|;{1,3}|%{1,2}")


# CMake, read here since pygments ends a bracket comment at its first line
# and takes a "#" inside a bracket argument for a comment: a quoted
# argument, a bracket argument, a bracket comment, a line comment, or
# anything else up to the next of these.
_CMAKE = re.compile(r"""
    (?P<quoted>"(?:[^"\\]|\\.)*"?)
  | (?P<comment>\#\[(?P<eq1>=*)\[.*?(?:\](?P=eq1)\]|\Z))
  | (?P<bracket>\[(?P<eq2>=*)\[.*?(?:\](?P=eq2)\]|\Z))
  | (?P<line>\#[^\n]*)
  | (?P<other>(?:[^"\#\[\\]|\\.)+|\[|\\)
""", re.X | re.S)


def tokens(text, lang):
    """(type, value) tokens of text, by pygments but for CMake."""
    if lang != "cmake":
        lexer = get_lexer_by_name(PYGMENTS[lang], stripnl=False, stripall=False, ensurenl=False)
        yield from lexer.get_tokens(text)
        return
    for m in _CMAKE.finditer(text):
        if m.group("comment") is not None or m.group("line") is not None:
            yield Comment, m.group()
        elif m.group("quoted") is not None or m.group("bracket") is not None:
            yield String, m.group()
        else:
            # Whitespace apart, so that a line's indentation is seen.
            for piece in re.findall(r"\s+|\S+", m.group()):
                yield Text, piece


def _merged_comment_tokens(text, lang):
    """(start, end, token type) of pygments' comment tokens, contiguous
    pieces of one block comment joined, trailing newlines left out."""
    spans, pos = [], 0
    for ttype, value in tokens(text, lang):
        start, pos = pos, pos + len(value)
        if ttype not in Comment:
            continue
        end = start + len(value.rstrip("\n"))
        if ttype is Comment.Multiline and spans and spans[-1][2] is Comment.Multiline \
                and spans[-1][1] == start:
            spans[-1] = (spans[-1][0], end, ttype)
        else:
            spans.append((start, end, ttype))
    return spans


def _kind_of(body, ttype):
    """The kind of a comment token, by its text; None when it is code that
    pygments files under comments (preprocessor lines, a shebang)."""
    if ttype in Comment.Preproc or ttype in Comment.PreprocFile or ttype in Comment.Hashbang \
            or body.startswith("#!"):
        return None
    if re.match(r"/\*\*(?![*/])|/\*!", body):
        return "doc"
    if _BLOCK_OPEN.match(body):
        return "block"
    if body.startswith("="):
        return "pod"
    return "line"


def comment_spans(text, lang):
    """(kind, start, end) of each comment of text, in order."""
    if lang == "python":
        return python_comment_spans(text)
    out = []
    for start, end, ttype in _merged_comment_tokens(text, lang):
        lead = len(text[start:end]) - len(text[start:end].lstrip())
        kind = _kind_of(text[start + lead:end], ttype)
        if kind:
            out.append((kind, start + lead, end))
    return out


def _offsets(text):
    """Character offset of each line's start, 1-based line numbers."""
    return [0, 0] + [m.end() for m in re.finditer("\n", text)]


def _char_col(text, starts, line, byte_col):
    """ast gives columns in UTF-8 bytes; the text is characters."""
    s = starts[line]
    end = text.find("\n", s)
    row = text[s:] if end < 0 else text[s:end]
    return s + len(row.encode("utf-8", "surrogateescape")[:byte_col].decode("utf-8", "surrogateescape"))


def docstring_nodes(tree):
    """The string constants that are docstrings: the first statement of a
    module, class or function body."""
    kinds = (ast.Module, ast.ClassDef, ast.FunctionDef, ast.AsyncFunctionDef)
    for node in ast.walk(tree):
        if isinstance(node, kinds) and node.body:
            first = node.body[0]
            if isinstance(first, ast.Expr) and isinstance(first.value, ast.Constant) \
                    and isinstance(first.value.value, str):
                yield first.value


def python_comment_spans(text):
    """# comments from tokenize and docstrings from ast; [] when the text is
    not Python that this interpreter reads."""
    try:
        tokens = list(tokenize.generate_tokens(io.StringIO(text).readline))
        tree = ast.parse(text)
    except (SyntaxError, tokenize.TokenError, ValueError, IndentationError):
        return []
    starts = _offsets(text)
    out = []
    for tok in tokens:
        if tok.type == tokenize.COMMENT and not (tok.start[0] <= 2 and tok.string.startswith("#!")):
            s = starts[tok.start[0]] + tok.start[1]
            out.append(("line", s, s + len(tok.string)))
    for node in docstring_nodes(tree):
        s = _char_col(text, starts, node.lineno, node.col_offset)
        e = _char_col(text, starts, node.end_lineno, node.end_col_offset)
        out.append(("doc", s, e))
    return sorted(out, key=lambda k: k[1])


# --------------------------------------------------------------------------
# The view

def _split_quotes(body):
    """(opener, inner, closer) of a Python string literal."""
    m = re.match(r"([rRuUbBfF]*)('''|\"\"\"|'|\")", body)
    q = m.group(2)
    inner = body[m.end():]
    return m.group(0), inner[:-len(q)] if inner.endswith(q) else inner, q


def _block_texts(lines_of_span, lang, kind):
    """The text of each line of a block comment or docstring, its opener,
    closer and " * " decoration removed; and its marker."""
    first = lines_of_span[0]
    if lang == "python":
        opener, _, closer = _split_quotes("\n".join(lines_of_span))
        marker = opener
        lines_of_span = list(lines_of_span)
        lines_of_span[0] = first[len(opener):]
        if lines_of_span[-1].endswith(closer):
            lines_of_span[-1] = lines_of_span[-1][:-len(closer)]
        return marker, lines_of_span
    m = _BLOCK_OPEN.match(first) if kind in ("block", "doc") else None
    marker = m.group(0) if m else first.split()[0] if first.split() else ""
    texts = [first[len(marker):]] + list(lines_of_span[1:])
    c = _BLOCK_CLOSE.search(texts[-1]) if kind in ("block", "doc") else None
    if c:
        texts[-1] = texts[-1][:c.start()]
    if kind == "pod" and len(texts) > 1 and texts[-1].strip().startswith("="):
        texts[-1] = ""
    texts[1:] = [_DECORATION.sub("", t, count=1) if marker.startswith("/*") else t for t in texts[1:]]
    return marker, texts


def line_marker(body):
    """The marker of a line comment: "//", "///", "#", "##", "--", ";;", ...
    A longer run of marker characters stays text, so that a separator is seen
    as one."""
    if body.startswith("//"):
        return cc.marker_of(body)
    m = _LINE_MARKER.match(body)
    if not m:
        return body[:1]
    run = len(body) - len(body.lstrip(body[0]))
    return body[0] if run > len(m.group(0)) else m.group(0)


class SyntaxView:
    """A text split into anchors (lines holding code, keyed by that code) and
    comment groups, as corpus_check.View does for "//" comments: a run of
    own-line line comments with the same marker and column (continuing a
    comment after code at its column), or one block comment or docstring.
    Each group also knows its comment kind."""

    def __init__(self, text, lang):
        self.lines = [l[:-1] if l.endswith("\r") else l for l in text.split("\n")]
        starts = cc._line_starts(text)
        spans = comment_spans(text, lang)
        in_comment = [[] for _ in self.lines]  # (start col, end col, span index) per line
        for n, (kind, s, e) in enumerate(spans):
            a, b = bisect.bisect_right(starts, s) - 1, bisect.bisect_right(starts, max(s, e - 1)) - 1
            for ln in range(a, b + 1):
                lo = s - starts[ln] if ln == a else 0
                hi = e - starts[ln] if ln == b else len(self.lines[ln])
                in_comment[ln].append((lo, hi, n))
        self.anchors, self.groups = [], []
        cur, done = None, set()
        for i, line in enumerate(self.lines):
            pieces = in_comment[i]
            code, pos = [], 0
            for lo, hi, _ in pieces:
                code.append(line[pos:lo])
                pos = hi
            code.append(line[pos:])
            code = " ".join(" ".join(code).split())
            if not pieces:
                self.anchors.append((i, code))
                cur = None
                continue
            if code:
                self.anchors.append((i, code))
            for lo, hi, n in pieces:
                if n in done:
                    continue
                kind, s, e = spans[n]
                if kind == "line":
                    body, lead = line[lo:hi], line[:lo]
                    marker, col, own = line_marker(body), cc.display_width(lead), not code
                    if not (own and cur and cur.kind == "line" and cur.marker == marker and cur.col == col):
                        cur = cc.Group(i, marker, col, not own)
                        cur.kind = kind
                        self.groups.append(cur)
                    cur.lines.append(i)
                    cur.texts.append(body[len(marker):])
                    continue
                done.add(n)
                a = i
                b = bisect.bisect_right(starts, max(s, e - 1)) - 1
                marker, texts = _block_texts(text[s:e].split("\n"), lang, kind)
                after_end = self.lines[b][e - starts[b]:].strip()
                trailing = bool(line[:lo].strip()) or bool(after_end)
                g = cc.Group(a, marker, cc.display_width(line[:lo]), trailing)
                g.kind = kind
                g.lines, g.texts = list(range(a, b + 1)), texts
                self.groups.append(g)
                cur = None
            if code:
                cur = cur if cur and cur.trailing and cur.lines[-1] == i else None


def of_kinds(view, kinds):
    """A view holding only the groups of the given comment kinds."""
    part = SyntaxView.__new__(SyntaxView)
    part.lines, part.anchors = view.lines, view.anchors
    part.groups = [g for g in view.groups if g.kind in kinds]
    return part


# --------------------------------------------------------------------------
# Code, comments left out

def pygments_code_lines(text, lang):
    """The code tokens of each line that holds code, by pygments, comments
    left out; a line's indentation is kept where the line starts with code."""
    by_line, line, indent = {}, 0, ""  # indent: None once the line has had a token
    for ttype, value in tokens(text, lang):
        kind = _kind_of(value.strip(), ttype) if ttype in Comment else None
        if kind:
            # A block comment's own newlines are not code, but they move on.
            line += value.count("\n")
            indent = "" if value.endswith("\n") else None
            continue
        for k, piece in enumerate(value.split("\n")):
            if k:
                line, indent = line + 1, ""
            if not piece.strip():
                indent = None if indent is None else indent + piece
                continue
            row = by_line.setdefault(line, [])
            if indent is not None and not row:
                lead = indent + piece[:len(piece) - len(piece.lstrip())]
                row.append(lead.replace("\t", "\\t") + "|")
            row.append(piece.strip())
            indent = None
    return [" ".join(by_line[k]) for k in sorted(by_line)]


def python_code_lines(text):
    """Python's own tokens, comments left out and each docstring reduced to
    its quotes and words; the raw lines when tokenize refuses the text."""
    try:
        tokens = list(tokenize.generate_tokens(io.StringIO(text).readline))
        docs = {(n.lineno, n.col_offset) for n in docstring_nodes(ast.parse(text))}
    except (SyntaxError, tokenize.TokenError, ValueError, IndentationError):
        return text.split("\n")
    by_line = {}
    for tok in tokens:
        # Where a statement ends follows from the lines its tokens start on.
        if tok.type in (tokenize.NL, tokenize.NEWLINE, tokenize.ENCODING) or (
                tok.type == tokenize.COMMENT and not (tok.start[0] <= 2 and tok.string.startswith("#!"))):
            continue
        s = tok.string
        if tok.type == tokenize.STRING and (tok.start[0], len(tok.line[:tok.start[1]].encode())) in docs:
            opener, inner, closer = _split_quotes(s)
            s = "%s%s%s" % (opener, " ".join(inner.split()), closer)
        elif tok.type == tokenize.INDENT:
            s = "INDENT"
        elif tok.type == tokenize.DEDENT:
            s = "DEDENT"
        by_line.setdefault(tok.start[0], []).append(s.replace("\n", "\\n"))
    return [" ".join(by_line[k]) for k in sorted(by_line)]


def shell_code_lines(text):
    """pygments' tokens of the shell text, and whether bash reads it: a text
    bash accepted before must still be accepted."""
    proc = subprocess.run(["bash", "-n"], input=text.encode("utf-8", "surrogateescape"),
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return ["bash -n: %s" % ("ok" if proc.returncode == 0 else "refused")] + \
        pygments_code_lines(text, "shell")


def code_lines(texts, lang):
    """Code lines of each text, read independently of brindle."""
    if lang == "c-all":
        return cc.c_code_lines(texts)
    if lang == "python":
        return [python_code_lines(t) for t in texts]
    if lang == "shell":
        return [shell_code_lines(t) for t in texts]
    return [pygments_code_lines(t, lang) for t in texts]
