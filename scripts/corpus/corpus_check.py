#!/usr/bin/python3
"""Measures the damage `brindle` does to real code that nobody here wrote.

The product promises that only comments move, that no character is lost and
that only what needs it changes. This tool runs brindle's commands over
copies of Debian-packaged Go, C++ and Rust sources and counts, per corpus and
command:

  a  code lines changed: the file's tokens without comments, read by a lexer
     that owes nothing to brindle (gcc for C++, go/scanner for Go, the small
     lexer below for Rust), differ before and after
  b  comment runs whose words changed (each line's own marker removed)
  c  files that change again when the command is run on its own output
  d  files where `wrap --fill` of `unwrap` of `wrap --fill x` is not
     `wrap --fill x`
  e  runs that plain `wrap` changed although every line already fitted
  f  lines inside ``` or ~~~ fences in comments that changed
  g  comment lines still longer than the width after wrapping, holding two
     or more words and not structure (fences, tables, separators, ...)
  h  structure lines kept verbatim, by kind, so that a wrapper which does
     nothing cannot look good on g alone
  i  lines a maintainer keeps as lines (commented-out code, directives,
     tags, dated entries, checkboxes, field lists) that no longer start one
  k  licence headers changed
  l  one-word lines left above a deeper-indented continuation (staircases)

Exit status 1 when a gated count is not zero (see --gate), 2 on set-up
errors. Standard library only.
"""

import argparse
import bisect
import collections
import difflib
import glob
import hashlib
import json
import multiprocessing
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

# --------------------------------------------------------------------------
# Corpora

Corpus = collections.namedtuple("Corpus", "name lang roots wanted")


def _ends(*suffixes):
    return lambda path: path.endswith(suffixes)


CORPORA = [
    # testdata holds deliberately broken Go, which says nothing about comments.
    Corpus("go", "go", ["/usr/share/go-1.19/src", "/usr/lib/go-1.19/src"],
           lambda p: p.endswith(".go") and "/testdata/" not in p),
    Corpus("absl", "c", ["/usr/include/absl"], _ends(".h", ".inc")),
    Corpus("rust-clap", "rust", ["/usr/share/cargo/registry/clap-[0-9]*",
                                 "/usr/share/cargo/registry/clap_derive-[0-9]*",
                                 "/usr/share/cargo/registry/clap_lex-[0-9]*"], _ends(".rs")),
    Corpus("rust-serde", "rust", ["/usr/share/cargo/registry/serde-[0-9]*",
                                  "/usr/share/cargo/registry/serde_derive-[0-9]*"], _ends(".rs")),
    Corpus("rust-tokio", "rust", ["/usr/share/cargo/registry/tokio-[0-9]*",
                                  "/usr/share/cargo/registry/tokio-macros-[0-9]*"], _ends(".rs")),
    # The standard headers mostly have no extension at all.
    Corpus("libstdcxx", "c", ["/usr/include/c++/12"], lambda p: True),
    Corpus("qt", "c", ["/usr/include/x86_64-linux-gnu/qt6"], _ends(".h")),
    # Licence headers in every file, failpoints, linter directives.
    Corpus("etcd", "go", ["/usr/share/gocode/src/go.etcd.io/etcd"], _ends(".go")),
    # Feature checklists ([X] / [ ]) and revision histories.
    Corpus("imgui-stb", "c", ["/usr/include/imgui", "/usr/include/stb"], _ends(".h")),
]


def corpus_files(corpus, needle=b"//"):
    """Sorted real paths of the corpus files that hold the needle at all."""
    roots = []
    for pattern in corpus.roots:
        roots += sorted(glob.glob(pattern))
    if corpus.name == "go":  # the two Go roots are the same tree
        roots = roots[:1]
    seen, files = set(), []
    for root in roots:
        for dirpath, dirnames, filenames in os.walk(root):
            dirnames.sort()
            for name in filenames:
                path = os.path.join(dirpath, name)
                real = os.path.realpath(path)
                if real in seen or not os.path.isfile(real) or not corpus.wanted(path):
                    continue
                seen.add(real)
                with open(real, "rb") as f:
                    if needle in f.read():
                        files.append(path)
    return sorted(files)


def ci_sample(files, count):
    """Every k-th file of the sorted list: the same files on every machine."""
    if count <= 0 or len(files) <= count:
        return files
    stride = -(-len(files) // count)
    return files[::stride]


# --------------------------------------------------------------------------
# Display columns

def display_width(s):
    if s.isascii() and "\t" not in s:
        return len(s)
    col, last = 0, 0
    for ch in s:
        if ch == "\t":
            col, last = col // 8 * 8 + 8, 1
        elif ch == "\ufe0f":
            col, last = col + (last == 1), 2  # the symbol before drawn as an emoji
        elif ord(ch) >= 0x1100 and unicodedata.east_asian_width(ch) in ("W", "F"):
            col, last = col + 2, 2
        elif unicodedata.combining(ch) or ch in "\u200b\u200c\u200d":
            last = 0  # drawn on the character before it
        else:
            col, last = col + 1, 1
    return col


# --------------------------------------------------------------------------
# Lexing: where the "//" comments, block comments and literals are

_LEX = {
    "c": re.compile(r"""
        (?P<line>//[^\n]*)
      | (?P<block>/\*)
      | (?P<raw>(?<!\w)(?:u8|[uUL])?R"([^()\\\s"]{0,16})\()
      | (?P<lit>"(?:[^"\\\n]|\\.)*"?|'(?:[^'\\\n]|\\.)*'?)
      | (?P<num>(?<!\w)\d(?:[\w.]|'(?=\w))*)   # 1'000 is not a character
    """, re.X | re.S),
    "go": re.compile(r"""
        (?P<line>//[^\n]*)
      | (?P<block>/\*)
      | (?P<lit>`[^`]*`?|"(?:[^"\\\n]|\\.)*"?|'(?:[^'\\\n]|\\.)*'?)
    """, re.X | re.S),
    "rust": re.compile(r"""
        (?P<line>//[^\n]*)
      | (?P<block>/\*)
      | (?P<rawrs>(?<!\w)b?r(\#*)")
      | (?P<lit>(?:(?<!\w)b)?"(?:[^"\\]|\\.)*"?
               # a quote starts a character only when one character or one
               # escape and a closing quote follow; otherwise it is a lifetime
               | (?:(?<!\w)b)?'(?:[^'\\\n]|\\(?:x[0-9a-fA-F]{2}|u\{[0-9a-fA-F_]*\}|.))')
    """, re.X | re.S),
}
_NESTING = re.compile(r"/\*|\*/")


def _block_end(text, pos, nested):
    if not nested:
        end = text.find("*/", pos)
        return len(text) if end < 0 else end + 2
    depth = 1
    for m in _NESTING.finditer(text, pos):
        depth += 1 if m.group() == "/*" else -1
        if depth == 0:
            return m.end()
    return len(text)


def lex(text, lang):
    """(kind, start, end) for each line comment, block comment and literal."""
    rx, spans, pos = _LEX[lang], [], 0
    while True:
        m = rx.search(text, pos)
        if not m:
            return spans
        kind, start, end = m.lastgroup, m.start(), m.end()
        if kind == "block":
            end = _block_end(text, end, lang == "rust")
        elif kind == "raw":
            close = ")" + m.group(m.lastindex + 1) + '"'
            found = text.find(close, end)
            end, kind = (len(text) if found < 0 else found + len(close)), "lit"
        elif kind == "rawrs":
            close = '"' + m.group(m.lastindex + 1)
            found = text.find(close, end)
            end, kind = (len(text) if found < 0 else found + len(close)), "lit"
        if kind != "num":
            spans.append((kind, start, end))
        pos = max(end, start + 1)


def _line_starts(text):
    starts = [0]
    starts += [m.end() for m in re.finditer("\n", text)]
    return starts


_TOKEN = re.compile(r"\w+|[^\w\s]")


def rust_code_lines(text):
    """The tokens of each line that holds code, comments left out."""
    starts = _line_starts(text)
    by_line = collections.defaultdict(list)
    pos = 0
    for kind, start, end in lex(text, "rust") + [("end", len(text), len(text))]:
        for m in _TOKEN.finditer(text, pos, start):
            by_line[bisect.bisect_right(starts, m.start())].append(m.group())
        if kind == "lit":
            by_line[bisect.bisect_right(starts, start)].append(text[start:end].replace("\n", "\\n"))
        pos = max(pos, end)
    return [" ".join(by_line[k]) for k in sorted(by_line)]


# --------------------------------------------------------------------------
# Comment runs

def marker_of(body):
    if body.startswith("///") and not body.startswith("////"):
        return "///"
    if body.startswith("//!"):
        return "//!"
    return "//"


class Group:
    """A run of comment lines: consecutive own-line comments with the same
    marker and column, or a comment after code with the lines below it that
    continue it at the same column."""

    def __init__(self, first, marker, col, trailing):
        self.first, self.marker, self.col, self.trailing = first, marker, col, trailing
        self.lines, self.texts = [], []
        self._kinds = None

    @property
    def sig(self):
        return (self.marker, tuple(w for t in self.texts for w in t.split()))

    @property
    def kinds(self):
        if self._kinds is None:
            self._kinds = structure_kinds(self.texts)
        return self._kinds


class View:
    """A text split into anchors (lines that are not comment lines, keyed by
    their code) and comment groups."""

    def __init__(self, text, lang):
        self.lines = [l[:-1] if l.endswith("\r") else l for l in text.split("\n")]
        starts = _line_starts(text)
        cols = {}
        for kind, start, _ in lex(text, lang):
            if kind == "line":
                ln = bisect.bisect_right(starts, start) - 1
                cols[ln] = start - starts[ln]
        self.anchors, self.groups = [], []
        cur = None
        for i, line in enumerate(self.lines):
            c = cols.get(i)
            if c is None:
                self.anchors.append((i, line.strip()))
                cur = None
                continue
            body, lead = line[c:], line[:c]
            marker, col = marker_of(body), display_width(lead)
            own = not lead.strip()
            if not (own and cur and cur.marker == marker and cur.col == col):
                if not own:
                    self.anchors.append((i, lead.strip()))
                cur = Group(i, marker, col, not own)
                self.groups.append(cur)
            cur.lines.append(i)
            cur.texts.append(body[len(marker):])
        if lang == "go":
            # The comment right above import "C" is C source for cgo.
            for g in self.groups:
                nxt = g.lines[-1] + 1
                if not g.trailing and nxt < len(self.lines) and self.lines[nxt].strip() == 'import "C"':
                    g._kinds = ["directive"] * len(g.lines)


# --------------------------------------------------------------------------
# Structure that must be kept as it is

_FENCE = re.compile(r"(`{3,}|~{3,})")
_DIRECTIVE_AT_MARKER = re.compile(r"(go:\w|line \S+:\d|export \w|extern \w|nolint|lint:|\+build\b|#cgo\b)")
_DIRECTIVE_ANYWHERE = re.compile(
    r"NOLINT|clang-format (off|on)|IWYU pragma|rustfmt::skip|LINT\.(If|Then)Change"
    r"|SPDX-License-Identifier:|-\*-.*-\*-|^Code generated .* DO NOT EDIT\.$")
# Go checks an example's output against the comment lines below this one.
_EXAMPLE_OUTPUT = re.compile(r"(Unordered output|Output):")
_SEPARATOR = re.compile(r"([^\w\s])\1{2,}(.*\S\s*\1{3,})?")
_BOX = re.compile("[\u2500-\u259f]")
_ALIGNED = re.compile(r"\S(\t| {3,})\S")


def structure_kinds(texts):
    """For each comment line (text after its marker): the kind of structure it
    is, or None for prose. Kinds: fence, directive, separator, table, url."""
    kinds, fence, output = [], None, False
    for t in texts:
        s = t.strip()
        if fence:
            kinds.append("fence")
            if re.fullmatch(re.escape(fence[0]) + "{%d,}" % len(fence), s):
                fence = None
            continue
        m = _FENCE.match(s)
        if m:
            fence = m.group(1)
            kinds.append("fence")
        elif output or _DIRECTIVE_AT_MARKER.match(t) or _DIRECTIVE_ANYWHERE.search(s) \
                or _EXAMPLE_OUTPUT.match(s):
            output = output or bool(_EXAMPLE_OUTPUT.match(s))
            kinds.append("directive")
        elif _SEPARATOR.fullmatch(s):
            kinds.append("separator")
        elif (_BOX.search(s) or s.startswith(("|", "+-", "+=")) or s.count(" | ") >= 2
              or "+--" in s or "--+" in s or _ALIGNED.search(s)):
            kinds.append("table")
        else:
            words = s.split()
            urls = [w for w in words if "://" in w]
            kinds.append("url" if urls and len(words) - len(urls) <= 1 else None)
    return kinds


KINDS = ("fence", "table", "separator", "directive", "url")

# --------------------------------------------------------------------------
# Lines a maintainer keeps as lines. Plain patterns of this check's own, not
# brindle's classifier, so that a count of 0 does not just mean that brindle
# agrees with itself. Each such line must still start a line afterwards.

_CODE = re.compile(r"""^(?:
    (?:for|while|if|else\ if|switch|match)\s*\(.*\)\s*\{?                    # for (...) {
  | (?:for|while|if|elif)\s+[^.,;!?]*(?:\s(?:in|not\ in)\s|[=<>!]=|[<>])[^.,;!?]*:  # for x in y:
  | else\s*[:{]
  | (?:let|var|val|const|auto|mut)\s+\w+\s*(?::\s*[\w<>\[\],\ ]+)?\s*:?=\s*\S.*   # declarations
  | return\s+(?:[\w.]+\(.*\)|[\w.]+;|[\w.]+\s*[-+*/|&]\s*\S.*)                # return call()
  | (?:[a-z_]\w*\.)+[a-zA-Z_]\w*\(.*\)\s*[;,]?                                  # tx.rollback()
  | \.\w+\(.*                                                                   # .optional()
  | [\])}]+[;,)]*                                                               # ] or });
  | [\w.\[\]]+\s*(?:=|:=|\+=|-=)\s*[\w."'(\[{-][^\s]*\s*;?                       # state = dfa.start
  | [\w.\[\]*&:<>-]+\s*(?:\(.*\)|(?:=|\+=|-=|:=)\s*\S.*)\s*;                  # f(x); or a = b;
)$""", re.X)
_LINE_DIRECTIVES = (
    "eslint-disable", "eslint-enable", "eslint-env", "tslint:", "ktlint-disable", "ktlint-enable",
    "@ts-expect-error", "@ts-ignore", "@ts-nocheck", "@ts-check", "gofail:", "go:", "NOLINT", "nolint",
    "prettier-ignore", "swiftlint:", "#region", "#endregion", "biome-ignore", "istanbul ignore",
    "c8 ignore", "clang-format off", "clang-format on", "IWYU pragma", "rustfmt::skip", "noqa",
    "pylint:", "rubocop:", "+build", "#nosec", "jshint", "jscs:", "@flow", "MARK:", "swift-format-ignore",
)
_TAG = re.compile(r"[A-Z][A-Z0-9_]+(?:\([^)]*\))?:(?:\s|$)")
_DATED = re.compile(r"(?:[-*]\s+)?(?:v?\d+(?:\.\d+)+[a-z]?\s+\(?)?\d{4}[-/.]\d{1,2}[-/.]\d{1,2}\b")
_CHECKBOX = re.compile(r"(?:[-*+]\s+)?\[[ xX]\]\s")
_FIELD = re.compile(r"[\w.\-/]{1,40}:\s+\S")
_COLUMNS = re.compile(r":\s{2,}\S|\S(?:\t| {3,})\S")
LINE_KINDS = ("code", "directive", "tag", "dated", "checkbox", "field")


def line_start_kinds(texts):
    """For each comment line (text after its marker): the kind of line a
    maintainer keeps as a line, or None. Precedence: a directive, then a
    tag, a dated entry or a checkbox item, then a field list or columns
    (two or more such lines in a row), then commented-out code."""
    stripped = [t.strip() for t in texts]
    shaped = [bool(s) and (_FIELD.match(s) is not None or _COLUMNS.search(s) is not None) for s in stripped]
    kinds = []
    for i, s in enumerate(stripped):
        if not s:
            kinds.append(None)
        elif s.startswith(_LINE_DIRECTIVES):
            kinds.append("directive")
        elif _TAG.match(s):
            kinds.append("tag")
        elif _DATED.match(s):
            kinds.append("dated")
        elif _CHECKBOX.match(s):
            kinds.append("checkbox")
        elif shaped[i] and ((i > 0 and shaped[i - 1]) or (i + 1 < len(shaped) and shaped[i + 1])):
            kinds.append("field")
        elif _CODE.match(s) or s == ">>>" or s.startswith(">>> "):  # code, or a doctest's prompt
            kinds.append("code")
        else:
            kinds.append(None)
    return kinds


def start_key(text):
    """What a line starts with: its first three words."""
    return " ".join(text.split()[:3])


_LICENCE = re.compile(r"copyright|licen[cs]e|SPDX-License-Identifier", re.I)


def licence_header(view):
    """The file's leading comment lines up to its first blank comment line,
    when they name a copyright, a licence or an SPDX identifier; else []."""
    first = next((i for i, l in enumerate(view.lines) if l.strip()), None)
    if first is None or not view.groups or view.groups[0].first != first or view.groups[0].trailing:
        return []
    g = view.groups[0]
    header = []
    for i, t in zip(g.lines, g.texts):
        # A block comment's opener line holds no text and ends nothing.
        if not t.strip() and any(h.strip() for h in g.texts[:len(header)]):
            break
        header.append(view.lines[i])
    return header if _LICENCE.search("\n".join(header)) else []


def staircase_steps(view):
    """One-word comment lines directly above a line of the same run that is
    indented deeper: what re-flowing an item above its frozen continuation
    leaves behind."""
    steps = 0
    for g in view.groups:
        for k in range(len(g.texts) - 1):
            t, nxt = g.texts[k], g.texts[k + 1]
            if len(t.split()) == 1 and nxt.strip():
                indent = lambda x: len(x) - len(x.lstrip())
                if indent(nxt) > indent(t):
                    steps += 1
    return steps


# --------------------------------------------------------------------------
# Before/after comparison


def changed_lines(a, b):
    """Lines of a and b not matched by a diff (the larger side per hunk)."""
    if a == b:
        return 0
    sm = difflib.SequenceMatcher(None, a, b, autojunk=False)
    return sum(max(i2 - i1, j2 - j1) for op, i1, i2, j1, j2 in sm.get_opcodes() if op != "equal")


def first_hunk(a, b, context=1, limit=6):
    """Where a and b first differ: (offset in a, lines of a, lines of b)."""
    sm = difflib.SequenceMatcher(None, a, b, autojunk=False)
    for op, i1, i2, j1, j2 in sm.get_opcodes():
        if op != "equal":
            i1, j1 = max(0, i1 - context), max(0, j1 - context)
            return i1, a[i1:min(i2 + context, i1 + limit)], b[j1:min(j2 + context, j1 + limit)]
    return 0, a[:limit], b[:limit]


def _matched_pairs(a, b):
    if a == b:
        return [(i, i) for i in range(len(a))]
    sm = difflib.SequenceMatcher(None, a, b, autojunk=False)
    return [(blk.a + k, blk.b + k) for blk in sm.get_matching_blocks() for k in range(blk.size)]


def gaps(before, after):
    """Pairs (before groups, after groups) lying between the same code lines.
    Code that did not change splits both files at the same places, so the
    runs between two such lines must correspond."""
    pairs = _matched_pairs([k for _, k in before.anchors], [k for _, k in after.anchors])
    bl = [before.anchors[i][0] for i, _ in pairs]
    al = [after.anchors[j][0] for _, j in pairs]
    out = collections.defaultdict(lambda: ([], []))
    for g in before.groups:
        out[bisect.bisect_right(bl, g.first)][0].append(g)
    for g in after.groups:
        out[bisect.bisect_right(al, g.first)][1].append(g)
    return [out[k] for k in sorted(out)]


def _fence_lines(view, groups):
    return [view.lines[i].rstrip() for g in groups for i, k in zip(g.lines, g.kinds) if k == "fence"]


def _words(groups):
    """(word, line) for each group's marker and words, in order."""
    out = []
    for g in groups:
        out.append((g.marker, g.first))
        out += [(w, i) for i, t in zip(g.lines, g.texts) for w in t.split()]
    return out


def compare(before, after, width, fit_check):
    """Counts for one file; examples as (metric, line, before lines, after lines)."""
    r = collections.Counter()
    examples = []
    for bs, as_ in gaps(before, after):
        r["runs"] += len(bs)
        pairs = (list(zip(range(len(bs)), range(len(as_)))) if len(bs) == len(as_)
                 else _matched_pairs([g.sig for g in bs], [g.sig for g in as_]))
        partner = dict(pairs)
        same = sum(1 for i, j in pairs if bs[i].sig == as_[j].sig)
        at_b = [i for g in bs for i in g.lines]
        raw_b = [before.lines[i] for i in at_b]
        raw_a = [after.lines[i] for g in as_ for i in g.lines]

        def example(metric, b, a, at):
            k, b, a = first_hunk(b, a)
            examples.append((metric, at[k] if k < len(at) else (bs or as_)[0].first, b, a))

        if max(len(bs), len(as_)) > same:
            r["tokens"] += max(len(bs), len(as_)) - same
            # Shown as words, since a re-flowed paragraph differs on every line.
            wb = _words(bs)
            k, b, a = first_hunk([w for w, _ in wb], [w for w, _ in _words(as_)], 4, 24)
            examples.append(("tokens", wb[k][1] if k < len(wb) else (bs or as_)[0].first,
                             [" ".join(b)], [" ".join(a)]))
        if fit_check:
            for i, g in enumerate(bs):
                if all(display_width(before.lines[k]) <= width for k in g.lines):
                    j = partner.get(i)
                    if j is None or [before.lines[k] for k in g.lines] != [after.lines[k] for k in as_[j].lines]:
                        r["fit"] += 1
                        example("fit", [before.lines[k] for k in g.lines],
                                [after.lines[k] for k in as_[j].lines] if j is not None else raw_a, g.lines)
        fb, fa = _fence_lines(before, bs), _fence_lines(after, as_)
        n = changed_lines(fb, fa)
        if n:
            r["fences"] += n
            example("fences", fb, fa, [i for g in bs for i, k in zip(g.lines, g.kinds) if k == "fence"])
        starts = collections.Counter(start_key(t) for g in as_ for t in g.texts if t.strip())
        for g in bs:
            fences = g.kinds
            for i, t, k, f in zip(g.lines, g.texts, line_start_kinds(g.texts), fences):
                if k and f != "fence":
                    r["seen_" + k] += 1
                    if starts[start_key(t)] > 0:
                        starts[start_key(t)] -= 1
                    else:
                        r["joined_" + k] += 1
                        word = t.split()[0]
                        examples.append(("joined_" + k, i, [before.lines[i]],
                                         [l for l in raw_a if word in l][:2]))
        left = collections.Counter(raw_a)
        for g in bs:
            for i, k in zip(g.lines, g.kinds):
                if k:
                    r["total_" + k] += 1
                    if left[before.lines[i]] > 0:
                        left[before.lines[i]] -= 1
                        r["kept_" + k] += 1
    return r, examples


ITEM_MARKER = re.compile(r"^(?:[-*+•]|\d{1,4}[.)]|\(\w{1,4}\)|[a-z]\))\s+")


# A comment line's marker and decoration, of any comment kind.
COMMENT_PREFIX = re.compile(r"^[ \t]*(?://[/!]?|/\*+!?|\*+(?!/)|#+|-{2,3}|;+|%+)?[ \t]*")


def too_little_room(line, width):
    """Whether the prefix leaves under min(20, width/2) columns for text:
    such a paragraph is left as it is rather than made a column of words."""
    prefix = COMMENT_PREFIX.match(line)
    room = width - display_width(prefix.group(0) if prefix else "")
    return room < min(20, width // 2)


# An inline doc tag ("{@link a b}") or a markup tag ('<a href="x">').
UNBREAKABLE = re.compile(r"\{@[^}]*\}|<[A-Za-z/][^<>]*>")


def long_lines(view, width, kept=frozenset()):
    """Comment lines over the width that hold two or more words and are not
    structure (by this tool's rough rules, or as brindle explain reports it):
    own-line runs, and separately lines of comments after code; and the
    lines kept because their prefix leaves too little room."""
    own, trailing, narrow, examples = 0, 0, 0, []
    counted = getattr(view, "counted_kinds", None)
    for g in view.groups:
        if counted is not None and getattr(g, "kind", None) not in counted:
            continue
        for i, t, k in zip(g.lines, g.texts, g.kinds):
            # A list item's marker is not a word: "- LongWord" cannot be broken;
            # nor are an inline doc tag or a markup tag, which brindle keeps whole.
            words = UNBREAKABLE.sub(lambda m: "".join(m.group(0).split()),
                                    ITEM_MARKER.sub("", t.strip(), count=1)).split()
            if (k is None and i not in kept and len(words) >= 2
                    and display_width(view.lines[i]) > width):
                if g.trailing:
                    trailing += 1
                elif too_little_room(view.lines[i], width):
                    narrow += 1
                else:
                    own += 1
                    examples.append(("long", i, [view.lines[i]], []))
    return own, trailing, narrow, examples


# --------------------------------------------------------------------------
# Code seen by independent lexers

BOUNDARY = "#pragma corpus_check_boundary"


def c_code_lines(texts):
    """Token lines of many C++ texts, comments removed by gcc itself, with
    one compiler run for all of them when they split cleanly."""
    # gcc keeps a "//" comment's backslash-newline as it is when it reads
    # preprocessed input, so splice lines first as the compiler would:
    # otherwise a comment wrapped to end in "\" would swallow the next line
    # of code unseen.
    spliced = [re.sub(r"\\[ \t]*\r?\n", "", t) for t in texts]

    def gcc(text):
        proc = subprocess.run(["gcc", "-fpreprocessed", "-dD", "-E", "-P", "-w", "-x", "c++", "-"],
                              input=text.encode("utf-8", "surrogateescape"),
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        out = [" ".join(l.split()) for l in proc.stdout.decode("utf-8", "surrogateescape").split("\n")]
        return [l for l in out if l]

    # An unclosed block comment or raw string swallows the boundary after
    # it; then each text goes through gcc on its own.
    joined = gcc("".join(t + "\n" + BOUNDARY + "\n" for t in spliced))
    parts, cur = [], []
    for line in joined:
        if line == BOUNDARY:
            parts.append(cur)
            cur = []
        else:
            cur.append(line)
    if len(parts) == len(texts) and not cur:
        return parts
    return [gcc(t) for t in spliced]


def go_code_lines(texts, gotokens, tmp):
    """Token lines of many Go texts with one run of the go/scanner helper."""
    d = tempfile.mkdtemp(dir=tmp)
    paths = []
    for n, text in enumerate(texts):
        p = os.path.join(d, "%d.go" % n)
        with open(p, "wb") as f:
            f.write(text.encode("utf-8", "surrogateescape"))
        paths.append(p)
    out = subprocess.run([gotokens] + paths, stdout=subprocess.PIPE, check=True).stdout
    shutil.rmtree(d)
    result = {}
    for chunk in out.decode("utf-8", "surrogateescape").split("\x00")[1:]:
        name, _, body = chunk.partition("\n")
        result[paths.index(name)] = [l for l in body.split("\n") if l]
    return [result[n] for n in range(len(texts))]


def build_gotokens():
    """Builds the go/scanner helper once into a cache keyed by its source."""
    src = os.path.join(HERE, "gotokens", "main.go")
    with open(src, "rb") as f:
        key = hashlib.sha256(f.read()).hexdigest()[:16]
    cache = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"),
                         "brindle-corpus")
    exe = os.path.join(cache, "gotokens-" + key)
    if not os.path.exists(exe):
        os.makedirs(cache, exist_ok=True)
        env = dict(os.environ, GOCACHE=os.path.join(cache, "gocache"), GO111MODULE="off",
                   GOPATH=os.path.join(cache, "gopath"), CGO_ENABLED="0")
        subprocess.run(["go", "build", "-o", exe + ".tmp", src], env=env, check=True)
        os.replace(exe + ".tmp", exe)
    return exe


# --------------------------------------------------------------------------
# Running brindle

COMMANDS = {"wrap": ["wrap"], "wrap --fill": ["wrap", "--fill"], "unwrap": ["unwrap"]}
UNWRAP = ["unwrap"]


def args_for(command, width):
    args = list(COMMANDS[command])
    return args if command == "unwrap" else args + ["--width", str(width)]


def probe(brindle, command, tmp):
    """None when the command runs, else why not (e.g. an unknown option)."""
    path = os.path.join(tmp, "probe.cc")
    with open(path, "w") as f:
        f.write("// probe text\nint x;\n")
    proc = subprocess.run([brindle] + args_for(command, 80) + [path],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if proc.returncode == 0:
        return None
    lines = proc.stderr.decode(errors="replace").strip().splitlines()
    return lines[0] if lines else "exit status %d" % proc.returncode


def write_texts(texts, paths):
    """Writes each text (None entries are skipped) to its path; returns the
    index of each path written."""
    given = {}
    for n, (text, path) in enumerate(zip(texts, paths)):
        if text is not None:
            with open(path, "wb") as f:
                f.write(text.encode("utf-8", "surrogateescape"))
            given[path] = n
    return given


def config_home(brindle, tmp, width):
    """A settings folder of the check's own whose shared comment length is
    `width` (80 when None), so that unwrap, which takes no --width, sees the
    width the texts were wrapped to rather than the machine's setting."""
    folder = os.path.join(tmp, "config-%s" % (width or 80))
    if not os.path.isdir(folder):
        os.makedirs(folder)
        subprocess.run([brindle, "config", "max-comment-length", str(width or 80)],
                       env=dict(os.environ, XDG_CONFIG_HOME=folder),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return folder


def run_brindle(brindle, args, texts, paths, timeout, config=None):
    """Runs brindle -i on copies of texts written to paths (None entries are
    skipped), with `config` as its settings folder when given. Returns
    outputs (None where brindle refused the file) and brindle's message for
    each refused file."""
    given = write_texts(texts, paths)
    outs, errors = [None] * len(texts), {}
    if not given:
        return outs, errors
    env = dict(os.environ, XDG_CONFIG_HOME=config) if config else None
    try:
        proc = subprocess.run([brindle] + args + ["-i"] + list(given), stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, timeout=timeout, env=env)
        stderr, rc = proc.stderr.decode("utf-8", "replace"), proc.returncode
    except subprocess.TimeoutExpired:
        stderr, rc = "timed out after %ds" % timeout, -1
    for line in stderr.splitlines():
        path, _, msg = line[len("brindle: "):].partition(": ")
        if line.startswith("brindle: ") and path in given:
            errors[given[path]] = msg
    for path, n in given.items():
        if rc != 0 and not errors:
            errors[n] = stderr.strip() or "exit status %d" % rc
        if n not in errors:
            with open(path, "rb") as f:
                outs[n] = f.read().decode("utf-8", "surrogateescape")
    return outs, errors


def kept_by_brindle(brindle, texts, paths, timeout):
    """The lines (0-based) that `brindle explain` says are kept as structure,
    one set per text; empty sets when brindle has no explain command."""
    kept = [set() for _ in texts]
    given = write_texts(texts, paths)
    if not given:
        return kept
    try:
        proc = subprocess.run([brindle, "explain"] + list(given), stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=timeout)
    except subprocess.TimeoutExpired:
        return kept
    if proc.returncode != 0:
        return kept
    for line in proc.stdout.decode("utf-8", "replace").splitlines():
        head, _, _kind = line.rpartition(": ")
        path, _, number = head.rpartition(":")
        if path in given and number.isdigit():
            kept[given[path]].add(int(number) - 1)
    return kept


def _scratch():
    # Memory-backed when there is one: each chunk writes every file several times.
    return "/dev/shm" if os.access("/dev/shm", os.W_OK) else None


# Views and code readers of languages that other modules read: a view
# factory (text, lang) and a reader (texts, lang) -> code lines per text.
VIEWS = {}
CODE_READERS = {}


def scratch_copies(paths):
    """A scratch folder, where each file's copy goes, and the files' texts."""
    tmp = tempfile.mkdtemp(prefix="corpus-check-", dir=_scratch())
    # Each file keeps its own name, in a folder of its own.
    copies = [os.path.join(tmp, str(n), os.path.basename(p)) for n, p in enumerate(paths)]
    for c in copies:
        os.mkdir(os.path.dirname(c))
    originals = []
    for p in paths:
        with open(p, "rb") as f:
            originals.append(f.read().decode("utf-8", "surrogateescape"))
    return tmp, copies, originals


def process_chunk(job):
    """All commands and widths on one chunk of one corpus' files."""
    corpus, lang, paths, widths, commands, brindle, gotokens, timeout, max_examples = job
    tmp, copies, originals = scratch_copies(paths)
    rows = collections.defaultdict(collections.Counter)
    seconds = collections.Counter()
    examples = collections.defaultdict(list)
    pending = []  # (row key, file index, output text) for the code check

    def note(key, n, exs):
        for metric, line, b, a in exs:
            bucket = examples[key + (metric,)]
            if len(bucket) < max_examples:
                bucket.append((paths[n], line + 1, b[:8], a[:8]))

    views = {}

    def view(text):
        if text not in views:
            views[text] = VIEWS.get(lang, View)(text, lang)
        return views[text]

    for command in commands:
        for width in (widths if command != "unwrap" else [None]):
            key = (corpus, command, width)
            t0 = time.monotonic()
            args = args_for(command, width)
            config = config_home(brindle, tmp, width)
            out, errs = run_brindle(brindle, args, originals, copies, timeout, config)
            again, _ = run_brindle(brindle, args, out, copies, timeout, config)
            if command == "wrap --fill":
                loose, _ = run_brindle(brindle, UNWRAP, out, copies, timeout, config)
                back, _ = run_brindle(brindle, args, loose, copies, timeout, config)
            kept = kept_by_brindle(brindle, out, copies, timeout) if command != "unwrap" else None
            row = rows[key]
            for n, text in enumerate(out):
                if text is None:
                    row["errors"] += 1
                    note(key, n, [("error", -1, [errs.get(n, "")], [])])
                    continue
                row["files"] += 1
                if text != originals[n]:
                    pending.append((key, n, text))
                for metric, other in (("idempotent", again[n]),
                                      ("roundtrip", back[n] if command == "wrap --fill" else text)):
                    if other != text:
                        row[metric] += 1
                        k, b, a = first_hunk(text.split("\n"), (other or "").split("\n"))
                        note(key, n, [(metric, k, b, a)])
                before, after = view(originals[n]), view(text)
                counts, exs = compare(before, after, width or 0, command == "wrap")
                row.update(counts)
                note(key, n, exs)
                header = licence_header(before)
                if header:
                    row["licence_seen"] += 1
                    first = next((i for i, l in enumerate(after.lines) if l.strip()), 0)
                    if after.lines[first:first + len(header)] != header:
                        row["licence"] += 1
                        note(key, n, [("licence", 0, header, after.lines[first:first + len(header)])])
                stairs = staircase_steps(after) - staircase_steps(before)
                if stairs > 0:
                    row["stairs"] += stairs
                    note(key, n, [("stairs", 0, [], [])])
                if command != "unwrap":
                    own, trailing, narrow, exs = long_lines(after, width, kept[n])
                    row["long"] += own
                    row["long_trailing"] += trailing
                    row["narrow"] += narrow
                    note(key, n, exs)
            seconds[key] += time.monotonic() - t0

    # The code check, with each distinct text read once.
    t0 = time.monotonic()
    needed = [originals[n] for _, n, _ in pending] + [text for _, _, text in pending]
    distinct = list(dict.fromkeys(needed))
    if lang == "go":
        code = dict(zip(distinct, go_code_lines(distinct, gotokens, tmp) if distinct else []))
    elif lang in CODE_READERS:
        code = dict(zip(distinct, CODE_READERS[lang](distinct, lang) if distinct else []))
    elif lang == "c":
        code = dict(zip(distinct, c_code_lines(distinct) if distinct else []))
    else:
        code = {text: rust_code_lines(text) for text in distinct}
    spent = time.monotonic() - t0
    for key, n, text in pending:
        seconds[key] += spent / len(pending)
        lines = changed_lines(code[originals[n]], code[text])
        if lines:
            rows[key]["code_files"] += 1
            rows[key]["code_lines"] += lines
            _, b, a = first_hunk(code[originals[n]], code[text])
            note(key, n, [("code", -1, b, a)])
    shutil.rmtree(tmp)
    return dict(rows), dict(seconds), dict(examples)


# --------------------------------------------------------------------------
# Report

GATES = {"code": "a", "tokens": "b", "idempotent": "c", "roundtrip": "d",
         "fit": "e", "fences": "f", "long": "g", "joined": "i", "licence": "k", "stairs": "l"}
GATE_COUNTS = {"code": "code_files", "tokens": "tokens", "idempotent": "idempotent",
               "roundtrip": "roundtrip", "fit": "fit", "fences": "fences", "long": "long",
               "joined": "joined", "licence": "licence", "stairs": "stairs"}
DEFAULT_GATE = "code,tokens,idempotent,roundtrip,fences,long,joined,licence,stairs"


def row_record(corpus, command, width, counts, seconds, unavailable):
    rec = {"corpus": corpus, "command": command, "width": width}
    if unavailable:
        rec["not_available"] = unavailable
        return rec
    c = counts
    rec.update({k: c.get(k, 0) for k in (
        "files", "runs", "errors", "code_files", "code_lines", "tokens", "idempotent")})
    rec["roundtrip"] = c.get("roundtrip", 0) if command == "wrap --fill" else None
    rec["fit"] = c.get("fit", 0) if command == "wrap" else None
    rec["fences"] = c.get("fences", 0)
    rec["long"] = c.get("long", 0) if command != "unwrap" else None
    rec["long_trailing"] = c.get("long_trailing", 0) if command != "unwrap" else None
    rec["narrow"] = c.get("narrow", 0) if command != "unwrap" else None
    rec["structure_kept"] = {k: {"kept": c.get("kept_" + k, 0), "total": c.get("total_" + k, 0)}
                             for k in KINDS}
    rec["joined_by_kind"] = {k: {"joined": c.get("joined_" + k, 0), "seen": c.get("seen_" + k, 0)}
                             for k in LINE_KINDS}
    rec["joined"] = sum(c.get("joined_" + k, 0) for k in LINE_KINDS)
    rec["licence"] = c.get("licence", 0)
    rec["licence_seen"] = c.get("licence_seen", 0)
    rec["stairs"] = c.get("stairs", 0)
    rec["seconds"] = round(seconds, 1)
    return rec


def print_table(records, width, title):
    print("\n%s, width %d" % (title, width))
    head = ["corpus", "command", "files", "runs", "err", "a:code f/l", "b:tok", "c:idem",
            "d:trip", "e:fit", "f:fence", "g:long", "h:fence", "h:table", "h:sep", "h:dir", "h:room",
            "i:code", "i:dir", "i:tag", "i:date", "i:box", "i:field", "k:lic", "l:stair", "sec"]
    table = [head]
    for r in records:
        if r["width"] not in (width, None):
            continue
        if "not_available" in r:
            table.append([r["corpus"], r["command"], "not available: " + r["not_available"]])
            continue
        dash = lambda v: "-" if v is None else str(v)
        kept = lambda k: "%d/%d" % (r["structure_kept"][k]["kept"], r["structure_kept"][k]["total"])
        table.append([r["corpus"], r["command"], str(r["files"]), str(r["runs"]), str(r["errors"]),
                      "%d/%d" % (r["code_files"], r["code_lines"]), str(r["tokens"]),
                      str(r["idempotent"]), dash(r["roundtrip"]), dash(r["fit"]), str(r["fences"]),
                      dash(r["long"]), kept("fence"), kept("table"), kept("separator"),
                      kept("directive"), dash(r["narrow"]),
                      *["%d/%d" % (r["joined_by_kind"][k]["joined"], r["joined_by_kind"][k]["seen"])
                        for k in LINE_KINDS],
                      "%d/%d" % (r["licence"], r["licence_seen"]), str(r["stairs"]), "%.1f" % r["seconds"]])
    widths = [max(len(row[i]) for row in table if len(row) > i and len(row) == len(head))
              for i in range(len(head))]
    for row in table:
        if len(row) != len(head):
            print("%-*s  %-*s  %s" % (widths[0], row[0], widths[1], row[1], row[2]))
        else:
            print("  ".join(c.ljust(w) if i < 2 else c.rjust(w)
                            for i, (c, w) in enumerate(zip(row, widths))))


LEGEND = """\
a code changed (files/lines)   b comment runs whose words changed   c not idempotent
d --fill round trip fails      e fitting runs changed by wrap        f fenced lines changed
g own-line comment lines over the width with 2+ words, not structure
h structure lines kept verbatim/seen: fences, tables and diagrams, separators, directives;
  room: long lines left as they are because the prefix leaves under min(20, width/2) columns
i lines a maintainer keeps as lines that no longer start a line, joined/seen: commented-out
  code, tool directives, tags (TODO:, REQUIRES:), dated entries, checkbox items, field lists
  and columns (found by this check's own patterns)
k licence headers (leading comment naming a copyright or licence) changed, files changed/seen
l one-word lines added above a deeper-indented line of the same run (staircases)"""


def print_examples(examples):
    for (corpus, command, width, metric), items in sorted(
            examples.items(), key=lambda kv: tuple(str(x) for x in kv[0])):
        for path, line, before, after in items:
            print("\n-- %s %s%s %s: %s:%d" % (corpus, command, " w%d" % width if width else "",
                                            metric, path, line))
            for l in before:
                print("  - " + l)
            for l in after:
                print("  + " + l)


def run_jobs(jobs, worker, counted, processes, max_examples):
    """Runs worker on each chunk in a pool and adds up the rows, seconds and
    examples it returns."""
    # Big corpora first, so that the workers finish together.
    jobs.sort(key=lambda j: -counted[j[0]][0])
    rows = collections.defaultdict(collections.Counter)
    seconds = collections.Counter()
    examples = collections.defaultdict(list)
    with multiprocessing.Pool(processes) as pool:
        for r, s, e in pool.imap_unordered(worker, jobs):
            for k, v in r.items():
                rows[k].update(v)
            seconds.update(s)
            for k, v in e.items():
                examples[k] = (examples[k] + v)[:max_examples]
    return rows, seconds, examples


def parse_options(doc, corpora, sample, chunk, gate_default, more=None):
    """The options both corpus checks take, and the widths and gate they ask
    for; `more` adds a check's own options to the parser."""
    ap = argparse.ArgumentParser(description=doc.split("\n\n")[0])
    ap.add_argument("--full", action="store_true", help="every corpus file, not the CI sample")
    ap.add_argument("--sample", type=int, default=sample, metavar="N",
                    help="files per corpus in the CI sample (default %d)" % sample)
    ap.add_argument("--width", type=int, action="append", metavar="N",
                    help="width to wrap to; repeatable (default 80 and 100)")
    ap.add_argument("--corpus", action="append", choices=corpora, help="only this corpus; repeatable")
    ap.add_argument("--brindle", default=os.environ.get("BRINDLE") or
                    os.path.join(REPO, "build", "cli", "commands", "brindle"))
    ap.add_argument("--jobs", type=int, default=min(2, os.cpu_count() or 1))
    ap.add_argument("--chunk", type=int, default=chunk, help="files per brindle run")
    ap.add_argument("--timeout", type=int, default=300, help="seconds per brindle run")
    ap.add_argument("--gate", default=gate_default,
                    help="counts that fail the run, by name or letter, from %s, or 'none' (default %s)"
                    % (",".join(GATES), gate_default))
    ap.add_argument("--json", action="store_true", help="print JSON instead of tables")
    ap.add_argument("--examples", type=int, default=0, metavar="N",
                    help="print up to N examples per corpus, command and count")
    if more:
        more(ap)
    opts = ap.parse_args()
    widths = opts.width or [80, 100]
    letters = {v: k for k, v in GATES.items()}
    gate = [] if opts.gate == "none" else [letters.get(g, g) for g in opts.gate.split(",")]
    for g in gate:
        if g not in GATES:
            ap.error("unknown gate %r" % g)
    if not os.access(opts.brindle, os.X_OK):
        ap.error("no brindle at %s (give --brindle or BRINDLE)" % opts.brindle)
    return opts, widths, gate


def main():
    opts, widths, gate = parse_options(__doc__, [c.name for c in CORPORA], 120, 20, DEFAULT_GATE)

    started = time.monotonic()
    tmp = tempfile.mkdtemp(prefix="corpus-check-")
    unavailable = {c: probe(opts.brindle, c, tmp) for c in COMMANDS}
    shutil.rmtree(tmp)
    commands = [c for c in COMMANDS if not unavailable[c]]
    corpora = [c for c in CORPORA if not opts.corpus or c.name in opts.corpus]
    gotokens = build_gotokens() if any(c.lang == "go" for c in corpora) else None

    jobs, counted = [], {}
    for c in corpora:
        files = corpus_files(c)
        if not files:
            print("corpus %s: no files; run scripts/corpus/install-corpus.sh" % c.name, file=sys.stderr)
            return 2
        chosen = files if opts.full else ci_sample(files, opts.sample)
        counted[c.name] = (len(chosen), len(files))
        for i in range(0, len(chosen), opts.chunk):
            jobs.append((c.name, c.lang, chosen[i:i + opts.chunk], widths, commands, opts.brindle,
                         gotokens, opts.timeout, opts.examples))
    rows, seconds, examples = run_jobs(jobs, process_chunk, counted, opts.jobs, opts.examples)

    records = []
    for c in corpora:
        for command in COMMANDS:
            for width in (widths if command != "unwrap" else [None]):
                key = (c.name, command, width)
                records.append(row_record(c.name, command, width, rows[key], seconds[key],
                                          unavailable[command]))
    failed = [(r["corpus"], r["command"], r["width"], g) for r in records for g in gate
              if "not_available" not in r and r.get(GATE_COUNTS[g])]
    elapsed = time.monotonic() - started
    if opts.json:
        json.dump({"brindle": opts.brindle, "mode": "full" if opts.full else "ci", "widths": widths,
                   "files": {k: {"chosen": v[0], "in_corpus": v[1]} for k, v in counted.items()},
                   "gate": gate, "failed": bool(failed), "seconds": round(elapsed, 1),
                   "rows": records}, sys.stdout, indent=1)
        print()
    else:
        title = "full corpus" if opts.full else "CI sample (%s)" % ", ".join(
            "%s %d of %d" % (k, v[0], v[1]) for k, v in counted.items())
        for w in widths:
            print_table(records, w, title)
        print("\n" + LEGEND)
        print_examples(examples)
        print("\n%.0f s on %d worker(s); %s" % (
            elapsed, opts.jobs, "gate failed on " + ", ".join(sorted({GATES[f[3]] + ":" + f[3] for f in failed}))
            if failed else "gate passed"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
