#!/usr/bin/python3
"""How far `brindle spell` can be trusted on real code nobody here wrote.

Over the Debian-packaged sources of the real-code corpus (see
scripts/corpus/install-corpus.sh), each corpus copied into a git repository
of its own so that brindle sees it as a user's checkout:

  alarms   findings of `brindle spell --check --lang en_US` per 1,000 comment
           words, on the corpus as it is; "typos" counts those that
           codespell's dictionary also lists, real misspellings of the corpus
  recall   real misspellings from codespell's dictionary (only those that
           `hunspell -d en_US` rejects) planted with a fixed seed into prose
           comment words of a copy; a typo counts as found when brindle
           names it at its line
  speed    the first run (which builds the vocabulary cache) and a second one

The files of every corpus are split in two halves by a hash of their path:
rules are decided on the "tune" half (--half tune, which also lists the
words raised most often) and the figures are reported on the "report" half.

Usage: bench/spelling_quality.py [--brindle PATH] [--half tune|report]
                                 [--typos N] [--top N] [--corpora a,b]
Standard library, codespell's dictionary and hunspell only.
"""

import argparse
import collections
import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(REPO, "scripts", "corpus"))
import corpus_check  # noqa: E402  (the corpus and how its files are gathered)

CODESPELL_DICTIONARY = "/usr/lib/python3/dist-packages/codespell_lib/data/dictionary.txt"
SEED = 11
FINDING = re.compile(r'^(.*):(\d+):(\d+): spelling: "(.*)"$')
WORD = re.compile(r"[A-Za-z]+(?:'[a-z]+)?")


def half_of(relative):
    digest = hashlib.sha1(relative.encode()).digest()
    return "tune" if digest[0] % 2 == 0 else "report"


def comment_text(line):
    """The text after the marker of a line that opens with //, or None."""
    stripped = line.lstrip(" \t")
    if not stripped.startswith("//"):
        return None
    body = stripped[2:]
    if body[:1] in ("/", "!"):
        body = body[1:]
    return body


def comment_words(text):
    words = 0
    for line in text.split("\n"):
        body = comment_text(line)
        if body is not None:
            words += len(body.split())
    return words


def prose_lines(text):
    """Line numbers (0-based) of comment lines that read as plain prose to an
    eye that owes nothing to brindle: outside ``` fences, not indented as
    code, four or more words of letters only."""
    lines, fenced = [], False
    for number, line in enumerate(text.split("\n")):
        body = comment_text(line)
        if body is None:
            fenced = False
            continue
        stripped = body.strip()
        if stripped.startswith("```") or stripped.startswith("~~~"):
            fenced = not fenced
            continue
        if fenced or body.startswith("    ") or body.startswith("\t") or body.startswith(" \t"):
            continue
        tokens = stripped.split()
        if len(tokens) >= 4 and all(re.fullmatch(r"[A-Za-z]+[,.;:]?", t) for t in tokens):
            lines.append(number)
    return lines


def load_misspellings(hunspell):
    """{correct word: misspelling} for single-word corrections whose
    misspelling hunspell rejects."""
    pairs = {}
    with open(CODESPELL_DICTIONARY, encoding="utf-8") as f:
        for row in f:
            wrong, _, right = row.strip().partition("->")
            rights = [r.strip() for r in right.split(",") if r.strip()]
            if len(rights) != 1 or not re.fullmatch(r"[a-z]{4,}", wrong):
                continue
            if not re.fullmatch(r"[a-z]{3,}", rights[0]):
                continue
            pairs.setdefault(rights[0], []).append(wrong)
    wrongs = sorted({w for ws in pairs.values() for w in ws})
    rejected = set(subprocess.run([hunspell, "-d", "en_US", "-l"], input="\n".join(wrongs),
                                  capture_output=True, text=True, check=True).stdout.split())
    return {right: sorted(w for w in ws if w in rejected)
            for right, ws in pairs.items() if any(w in rejected for w in ws)}


def known_misspellings():
    """Every misspelling in codespell's dictionary, lower-case: an alarm on
    one of them is a real typo of the corpus, counted apart."""
    with open(CODESPELL_DICTIONARY, encoding="utf-8") as f:
        return {row.partition("->")[0].strip() for row in f}


def make_repository(corpus, into):
    """Copies every source file of the corpus into a new git repository;
    returns the relative paths of the files that hold a "//"."""
    files = corpus_check.corpus_files(corpus)
    roots = sorted({os.path.commonpath([os.path.dirname(p) for p in files])}) if files else []
    root = roots[0] if roots else "/"
    relatives = []
    for path in files:
        relative = os.path.relpath(path, root)
        target = os.path.join(into, relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(os.path.realpath(path), target)
        relatives.append(relative)
    subprocess.run(["git", "init", "-q", into], check=True)
    subprocess.run(["git", "-C", into, "add", "-A"], check=True)
    return sorted(relatives)


def run_spell(brindle, repository, relatives, environment):
    """{(relative path, line 0-based): [words]} and the seconds taken."""
    found = collections.defaultdict(list)
    start = time.monotonic()
    for i in range(0, len(relatives), 400):
        batch = relatives[i:i + 400]
        done = subprocess.run([brindle, "spell", "--check", "--lang", "en_US", *batch], cwd=repository,
                              capture_output=True, text=True, env=environment)
        if done.returncode not in (0, 1):
            sys.exit("brindle spell failed: " + done.stderr[:2000])
        for row in done.stdout.splitlines():
            m = FINDING.match(row)
            if m:
                found[(m.group(1), int(m.group(2)) - 1)].append(m.group(4).replace('\\"', '"'))
    return found, time.monotonic() - start


def plant(repository, relatives, misspellings, count, rng):
    """Replaces one correct word on `count` prose lines with a misspelling of
    it; returns [(relative, line, misspelling)]."""
    candidates = []
    for relative in relatives:
        with open(os.path.join(repository, relative), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for number in prose_lines(text):
            candidates.append((relative, number))
    rng.shuffle(candidates)
    planted, per_file = [], collections.Counter()
    texts = {}
    for relative, number in candidates:
        if len(planted) >= count:
            break
        if per_file[relative] >= 2:
            continue
        if relative not in texts:
            with open(os.path.join(repository, relative), encoding="utf-8", errors="surrogateescape") as f:
                texts[relative] = f.read().split("\n")
        line = texts[relative][number]
        words = [m for m in WORD.finditer(line) if m.group(0).lower() in misspellings
                 and m.group(0).islower()]
        if not words:
            continue
        word = rng.choice(words)
        wrong = rng.choice(misspellings[word.group(0)])
        texts[relative][number] = line[:word.start()] + wrong + line[word.end():]
        planted.append((relative, number, wrong))
        per_file[relative] += 1
    for relative, lines in texts.items():
        with open(os.path.join(repository, relative), "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write("\n".join(lines))
    return planted


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--brindle", default=os.path.join(REPO, "build", "cli", "commands", "brindle"))
    parser.add_argument("--half", choices=["tune", "report"], default="report")
    parser.add_argument("--typos", type=int, default=400)
    parser.add_argument("--top", type=int, default=0, help="list the N words raised most often")
    parser.add_argument("--corpora", default="", help="comma-separated corpus names (default: all)")
    parser.add_argument("--hunspell", default="hunspell")
    args = parser.parse_args()
    for tool in (args.brindle, args.hunspell, "git"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing (bench/setup.sh installs the tools)")
    if not os.path.exists(CODESPELL_DICTIONARY):
        sys.exit("codespell's dictionary is missing (bench/setup.sh installs it)")

    wanted = set(filter(None, args.corpora.split(",")))
    corpora = [c for c in corpus_check.CORPORA if not wanted or c.name in wanted]
    misspellings = load_misspellings(args.hunspell)
    real_typos = known_misspellings()
    rng = random.Random(SEED)
    scratch = tempfile.mkdtemp(prefix="brindle-spelling-")
    environment = dict(os.environ, XDG_CACHE_HOME=os.path.join(scratch, "cache"), LC_ALL="C.UTF-8")
    totals = collections.Counter()
    raised = collections.Counter()
    print(f"half: {args.half}; {sum(len(v) for v in misspellings.values())} misspellings "
          f"of {len(misspellings)} words to plant from\n")
    print(f"{'corpus':<12}{'files':>7}{'words':>10}{'alarms':>8}{'typos':>7}{'/1000':>8}{'planted':>9}"
          f"{'found':>7}{'first s':>9}{'again s':>9}")
    try:
        for corpus in corpora:
            repository = os.path.join(scratch, corpus.name)
            relatives = make_repository(corpus, repository)
            chosen = [r for r in relatives if half_of(corpus.name + "/" + r) == args.half]
            if not chosen:
                continue
            words = 0
            for relative in chosen:
                with open(os.path.join(repository, relative), encoding="utf-8", errors="replace") as f:
                    words += comment_words(f.read())
            found, first = run_spell(args.brindle, repository, chosen, environment)
            _, again = run_spell(args.brindle, repository, chosen, environment)
            alarms = sum(len(v) for v in found.values())
            typos = sum(1 for v in found.values() for w in v if w.lower() in real_typos)
            for v in found.values():
                raised.update(v)

            planted = plant(repository, chosen, misspellings, args.typos // len(corpora), rng)
            typo_found, _ = run_spell(args.brindle, repository, sorted({p[0] for p in planted}), environment)
            hits = sum(1 for relative, number, wrong in planted if wrong in typo_found.get((relative, number), []))
            shutil.rmtree(repository)

            totals.update(files=len(chosen), words=words, alarms=alarms, typos=typos, planted=len(planted),
                          found=hits)
            print(f"{corpus.name:<12}{len(chosen):>7}{words:>10}{alarms:>8}{typos:>7}{1000 * alarms / max(words, 1):>8.2f}"
                  f"{len(planted):>9}{hits:>7}{first:>9.1f}{again:>9.1f}", flush=True)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    print(f"\n{'all':<12}{totals['files']:>7}{totals['words']:>10}{totals['alarms']:>8}{totals['typos']:>7}"
          f"{1000 * totals['alarms'] / max(totals['words'], 1):>8.2f}{totals['planted']:>9}{totals['found']:>7}")
    print(f"\nalarms per 1,000 comment words: {1000 * totals['alarms'] / max(totals['words'], 1):.2f} (goal <= 1.0);"
          f" {totals['typos']} of the alarms are misspellings codespell knows too, "
          f"{1000 * (totals['alarms'] - totals['typos']) / max(totals['words'], 1):.2f} per 1,000 words without them")
    print(f"recall: {totals['found']} of {totals['planted']} = "
          f"{100 * totals['found'] / max(totals['planted'], 1):.1f} % (goal >= 95 %)")
    if args.top:
        print("\nraised most often:")
        for word, n in raised.most_common(args.top):
            print(f"{n:6} {word}")


if __name__ == "__main__":
    main()
