#!/usr/bin/python3
"""Measures brindle on block and doc comments, "#" comments, docstrings and
the other line markers of real Debian-packaged code.

Same counts as corpus_check (code changed, comment words changed, not
idempotent, --fill round trip, fitting comments changed, structure lines
joined, licence headers, staircases, long lines left), with every comment
kind seen by lexers that owe nothing to brindle (comment_lexers.py), and
two counts that doing nothing cannot pass:

  long     own-line comment lines over the width with two or more words,
           not structure, before (in the original) and after wrapping
  reach    of the words of whole-line comments in the kinds the language's
           row covers, the share brindle reaches. A comment line is a probe
           line when it holds two or more words, is wider than 40 columns and
           its prefix leaves 20 or more; it is reached when `brindle explain`
           names it as kept structure, or when `brindle wrap --width 40`
           changes it. Comments after code are counted apart (trailing) and
           left out of the share, as corpus_check leaves them out of `long`.

Exit status 1 when a gated count is not zero (or, with --require-reach, a
reach or long-line target is missed), 2 on set-up errors.
"""

import collections
import functools
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import corpus_check as cc  # noqa: E402
import comment_lexers as cl  # noqa: E402

PROBE_WIDTH = 40
PROBE_ROOM = 20

# --------------------------------------------------------------------------
# Corpora


@functools.lru_cache(maxsize=None)
def packaged(*packages):
    """The files that the given Debian packages installed."""
    proc = subprocess.run(["dpkg-query", "-L", *packages], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL)
    return frozenset(proc.stdout.decode("utf-8", "replace").split("\n"))


def _from(packages, *suffixes):
    return lambda p: p.endswith(suffixes) and p in packaged(*packages)


def _ends_outside(suffixes, *skipped):
    return lambda p: p.endswith(suffixes) and not any(s in p for s in skipped)


def _shell_script(path):
    if path.endswith(".sh"):
        return True
    if "/share/" in path:
        return False
    try:
        with open(path, "rb") as f:
            head = f.read(32)
    except OSError:
        return False
    return head.startswith((b"#!/bin/sh", b"#! /bin/sh", b"#!/bin/bash", b"#!/usr/bin/env bash",
                            b"#!/bin/dash", b"#!/usr/bin/env sh"))


Syntax = collections.namedtuple("Syntax", "corpus needle kinds zip")

SRC_ZIP = "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip"
SQL_CACHE = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"),
                         "brindle-corpus", "postgresql")


def _sql_script(path):
    # The unpacked copy only stands in for an installed server's scripts.
    return path.endswith(".sql") and not (
        path.startswith(SQL_CACHE) and glob.glob("/usr/share/postgresql/[0-9]*"))


# Each corpus, the bytes a file must hold to be read at all, and the comment
# kinds that its language's row covers (the words that reach is taken over).
SYNTAXES = [
    Syntax(cc.Corpus("c-headers", "c-all", ["/usr/include"],
                     _from(("libc6-dev", "zlib1g-dev", "libcurl4-openssl-dev"), ".h")),
           b"/*", ("line", "block", "doc"), None),
    Syntax(cc.Corpus("java", "java", [], lambda p: p.endswith(".java")),
           b"", ("line", "block", "doc"), SRC_ZIP),
    Syntax(cc.Corpus("typescript", "typescript", ["/usr/share/nodejs/typescript/lib"],
                     lambda p: p.endswith(".d.ts")), b"/", ("line", "block", "doc"), None),
    Syntax(cc.Corpus("python", "python", ["/usr/lib/python3.11"],
                     _ends_outside((".py",), "/test/", "/tests/", "/idle_test/", "-packages/")),
           b"", ("line", "doc"), None),
    Syntax(cc.Corpus("shell", "shell", ["/usr/share", "/usr/bin", "/usr/sbin", "/etc/init.d"],
                     lambda p: not p.startswith(("/usr/share/gocode", "/usr/share/cargo",
                                                 "/usr/share/go-")) and _shell_script(p)),
           b"#", ("line",), None),
    Syntax(cc.Corpus("cmake", "cmake", ["/usr/share/cmake-3.25/Modules"],
                     lambda p: p.endswith((".cmake", "CMakeLists.txt"))), b"#", ("line", "block"), None),
    Syntax(cc.Corpus("perl", "perl", ["/usr/share/perl/5.36"], lambda p: p.endswith((".pm", ".pl"))),
           b"#", ("line",), None),
    Syntax(cc.Corpus("ruby", "ruby", ["/usr/lib/ruby/3.1.0"], lambda p: p.endswith(".rb")),
           b"#", ("line",), None),
    Syntax(cc.Corpus("yaml", "yaml", ["/usr/share/gocode/src", "/usr/share/cargo/registry", "/usr/lib/ruby"],
                     _ends_outside((".yml", ".yaml"), "testdata", "/tests/", "/test/")),
           b"#", ("line",), None),
    Syntax(cc.Corpus("toml", "toml", ["/usr/share/cargo/registry", "/usr/share/gocode/src"],
                     _ends_outside((".toml",), "testdata", "toml-test", "/tests/")),
           b"#", ("line",), None),
    Syntax(cc.Corpus("sql", "sql", ["/usr/share/postgresql/[0-9]*", SQL_CACHE + "/usr/share/postgresql/[0-9]*"],
                     _sql_script), b"--", ("line",), None),
    Syntax(cc.Corpus("lua", "lua", ["/usr/share/lua/5.4/pl", "/usr/share/nvim/runtime/lua"],
                     lambda p: p.endswith(".lua")), b"--", ("line", "block"), None),
]
BY_NAME = {s.corpus.name: s for s in SYNTAXES}


def zip_members(path, wanted):
    """Sorted names of the wanted members of a zip archive."""
    with zipfile.ZipFile(path) as z:
        return sorted(n for n in z.namelist() if wanted(n))


def unpack(path, names, into):
    """Unpacks the named members; returns the paths written."""
    out = []
    with zipfile.ZipFile(path) as z:
        for n in names:
            out.append(z.extract(n, into))
    return out


# --------------------------------------------------------------------------
# Views, cached per text in each worker: the damage check and the reach
# check read the same originals.

_MEMO = {}


def memo_view(text, lang):
    key = (lang, text)
    if key not in _MEMO:
        view = cl.SyntaxView(text, lang)
        # Long lines are counted, as reach is, over the kinds the language's
        # row covers: Perl's POD is code to brindle.
        view.counted_kinds = KINDS_BY_LANG.get(lang)
        _MEMO[key] = view
    return _MEMO[key]


KINDS_BY_LANG = {s.corpus.lang: s.kinds for s in SYNTAXES}

for _s in SYNTAXES:
    cc.VIEWS[_s.corpus.lang] = memo_view
    cc.CODE_READERS[_s.corpus.lang] = cl.code_lines


def probe_line(view, i, text):
    """Whether comment line i must change under a wrap to PROBE_WIDTH when
    brindle reaches it and does not keep it as structure."""
    words = cc.ITEM_MARKER.sub("", text.strip(), count=1).split()
    if len(words) < 2:
        return False
    line = view.lines[i]
    width = cc.display_width(line)
    prefix = width - cc.display_width(text.lstrip())
    return width > PROBE_WIDTH and PROBE_WIDTH - prefix >= PROBE_ROOM


def reach_counts(view, kinds, probe_text, kept):
    """Counts of comment words seen and reached for one file: seen_K and
    trailing_K per kind K, probe and reached over the kinds given."""
    r = collections.Counter()
    # A file brindle refused shows nothing reached.
    changed = set(range(len(view.lines))) if probe_text is not None else set()
    if probe_text is not None:
        for i, _ in cc._matched_pairs(view.lines, probe_text.split("\n")):
            changed.discard(i)
    for g in view.groups:
        for i, t in zip(g.lines, g.texts):
            n = len(t.split())
            r[("trailing_" if g.trailing else "seen_") + g.kind] += n
            if g.trailing or g.kind not in kinds:
                continue
            r["seen"] += n
            if probe_line(view, i, t):
                r["probe"] += n
                if i in kept or i in changed:
                    r["reached"] += n
    return r


def process_chunk(job):
    """corpus_check's counts for the chunk, and the reach and long-before
    counts of its originals."""
    corpus, lang, paths, widths, commands, brindle, _, timeout, _ = job
    try:
        rows, seconds, examples = cc.process_chunk(job)
        t0 = time.monotonic()
        tmp, copies, originals = cc.scratch_copies(paths)
        kept = cc.kept_by_brindle(brindle, originals, copies, timeout)
        probe, _ = cc.run_brindle(brindle, cc.args_for("wrap", PROBE_WIDTH), originals, copies,
                                  timeout, cc.config_home(brindle, tmp, PROBE_WIDTH))
        kinds = BY_NAME[corpus].kinds
        reach = rows.setdefault((corpus, "reach", None), collections.Counter())
        for n, text in enumerate(originals):
            view = memo_view(text, lang)
            reach.update(reach_counts(view, kinds, probe[n], kept[n]))
            for command in commands:
                if command == "unwrap":
                    continue
                for w in widths:
                    rows[(corpus, command, w)]["long_before"] += cc.long_lines(view, w, kept[n])[0]
        shutil.rmtree(tmp)
        seconds[(corpus, "reach", None)] = seconds.get((corpus, "reach", None), 0) + time.monotonic() - t0
        return rows, seconds, examples
    finally:
        _MEMO.clear()


# --------------------------------------------------------------------------
# Report

DAMAGE_GATE = "code,tokens,idempotent,roundtrip,fit,fences,joined,licence,stairs"
REACH_TARGET = 0.95


def reach_record(corpus, counts):
    c = counts
    rec = {"corpus": corpus, "kinds": list(BY_NAME[corpus].kinds),
           "seen": c.get("seen", 0), "probe": c.get("probe", 0), "reached": c.get("reached", 0)}
    rec["share"] = round(rec["reached"] / rec["probe"], 4) if rec["probe"] else None
    rec["seen_by_kind"] = {k: c.get("seen_" + k, 0) for k in cl.KINDS}
    rec["trailing_by_kind"] = {k: c.get("trailing_" + k, 0) for k in cl.KINDS}
    return rec


def print_reach(reach, records, widths):
    print("\nreach (words of whole-line comments in the row's kinds; probe at width %d)" % PROBE_WIDTH)
    head = ["corpus", "kinds", "words", "line", "block", "doc", "pod", "trailing", "probe",
            "reached", "share"] + ["long %d before>after" % w for w in widths]
    table = [head]
    for r in reach:
        longs = []
        for w in widths:
            row = next((x for x in records if x["corpus"] == r["corpus"] and x["command"] == "wrap"
                        and x["width"] == w and "not_available" not in x), None)
            longs.append("%d>%d" % (row["long_before"], row["long"]) if row else "-")
        table.append([r["corpus"], "+".join(r["kinds"]), str(r["seen"]),
                      *[str(r["seen_by_kind"][k]) for k in cl.KINDS],
                      str(sum(r["trailing_by_kind"].values())), str(r["probe"]), str(r["reached"]),
                      "-" if r["share"] is None else "%.1f%%" % (100 * r["share"]), *longs])
    sizes = [max(len(row[i]) for row in table) for i in range(len(head))]
    for row in table:
        print("  ".join(c.ljust(s) if i < 2 else c.rjust(s) for i, (c, s) in enumerate(zip(row, sizes))))


def missed_targets(reach, records):
    """(corpus, what) for each reach share under the target and each long
    count that did not fall by the target share."""
    missed = [(r["corpus"], "reach") for r in reach if r["probe"] and r["share"] < REACH_TARGET]
    for x in records:
        if x["command"] == "wrap" and "not_available" not in x and x["long_before"] \
                and x["long"] > (1 - REACH_TARGET) * x["long_before"]:
            missed.append((x["corpus"], "long at %d" % x["width"]))
    return missed


def choose(syntax, opts, tmp):
    """(chosen paths, number in the corpus) of one corpus."""
    if syntax.zip:
        if not os.path.exists(syntax.zip):
            return [], 0
        names = zip_members(syntax.zip, syntax.corpus.wanted)
        chosen = names if opts.full else cc.ci_sample(names, opts.sample)
        return unpack(syntax.zip, chosen, os.path.join(tmp, syntax.corpus.name)), len(names)
    files = cc.corpus_files(syntax.corpus, syntax.needle)
    return (files if opts.full else cc.ci_sample(files, opts.sample)), len(files)


def main():
    def more(ap):
        ap.add_argument("--require-reach", action="store_true",
                        help="also fail when reach is under 95%% or long lines fell by less than 95%%")
    opts, widths, gate = cc.parse_options(__doc__, list(BY_NAME), 60, 15, DAMAGE_GATE, more)

    started = time.monotonic()
    tmp = tempfile.mkdtemp(prefix="syntax-corpus-", dir=cc._scratch())
    try:
        unavailable = {c: cc.probe(opts.brindle, c, tmp) for c in cc.COMMANDS}
        commands = [c for c in cc.COMMANDS if not unavailable[c]]
        syntaxes = [s for s in SYNTAXES if not opts.corpus or s.corpus.name in opts.corpus]
        jobs, counted = [], {}
        for s in syntaxes:
            chosen, total = choose(s, opts, tmp)
            if not chosen:
                print("corpus %s: no files; run scripts/corpus/install-corpus.sh --syntaxes" % s.corpus.name,
                      file=sys.stderr)
                return 2
            counted[s.corpus.name] = (len(chosen), total)
            for i in range(0, len(chosen), opts.chunk):
                jobs.append((s.corpus.name, s.corpus.lang, chosen[i:i + opts.chunk], widths, commands,
                             opts.brindle, None, opts.timeout, opts.examples))
        rows, seconds, examples = cc.run_jobs(jobs, process_chunk, counted, opts.jobs, opts.examples)
    finally:
        shutil.rmtree(tmp)

    records, reach = [], []
    # The reach check's time is shared out over the corpus' rows.
    per_corpus = sum(len(widths) if c != "unwrap" else 1 for c in cc.COMMANDS)
    for s in syntaxes:
        name = s.corpus.name
        for command in cc.COMMANDS:
            for width in (widths if command != "unwrap" else [None]):
                key = (name, command, width)
                rec = cc.row_record(name, command, width, rows[key],
                                    seconds[key] + seconds[(name, "reach", None)] / per_corpus,
                                    unavailable[command])
                if command != "unwrap":
                    rec["long_before"] = rows[key].get("long_before", 0)
                records.append(rec)
        reach.append(reach_record(name, rows[(name, "reach", None)]))
    failed = [(r["corpus"], r["command"], r["width"], g) for r in records for g in gate
              if "not_available" not in r and r.get(cc.GATE_COUNTS[g])]
    missed = missed_targets(reach, records) if opts.require_reach else []
    elapsed = time.monotonic() - started
    if opts.json:
        json.dump({"brindle": opts.brindle, "mode": "full" if opts.full else "ci", "widths": widths,
                   "files": {k: {"chosen": v[0], "in_corpus": v[1]} for k, v in counted.items()},
                   "gate": gate, "failed": bool(failed or missed), "missed": missed,
                   "seconds": round(elapsed, 1), "rows": records, "reach": reach}, sys.stdout, indent=1)
        print()
    else:
        title = "full corpus" if opts.full else "CI sample (%s)" % ", ".join(
            "%s %d of %d" % (k, v[0], v[1]) for k, v in counted.items())
        for w in widths:
            cc.print_table(records, w, title)
        print_reach(reach, records, widths)
        print("\n" + cc.LEGEND)
        print(__doc__.split("\n\n")[2])
        cc.print_examples(examples)
        verdict = []
        if failed:
            verdict.append("gate failed on " + ", ".join(
                sorted({cc.GATES[f[3]] + ":" + f[3] for f in failed})))
        if missed:
            verdict.append("targets missed: " + ", ".join("%s %s" % m for m in missed))
        print("\n%.0f s on %d worker(s); %s" % (elapsed, opts.jobs, "; ".join(verdict) or "gate passed"))
    return 1 if failed or missed else 0


if __name__ == "__main__":
    sys.exit(main())
