#!/usr/bin/python3
"""How far `brindle spell` can be trusted on real code nobody here wrote.

Over the Debian-packaged sources of the real-code corpus (see
scripts/corpus/install-corpus.sh, and --syntaxes for C headers with block
comments, Java, TypeScript and Python), each corpus copied into a git
repository of its own so that brindle sees it as a user's checkout. Comment
words are those of whole-line comments of every kind: "//" and "#" lines,
block and doc comments, docstrings, as lexers that owe nothing to brindle
see them.

  alarms   findings of `brindle spell --check --lang en_US` per 1,000 comment
           words, on the corpus as it is; "typos" counts those that
           codespell's dictionary also lists, real misspellings of the corpus
  recall   real misspellings from codespell's dictionary (only those that
           `hunspell -d en_US` rejects) planted with a fixed seed into prose
           comment words of a copy; a typo counts as found when brindle
           names it at its line
  speed    the first run (which builds the vocabulary cache) and a second one
  kinds    recall per kind of planted typo: plain, capitalised at a sentence
           start, possessive, emphasis, link text, slash compound, after a
           hyphen prefix, next to a code span, one letter off an identifier
           of the same file
  repeats  words planted twice ("the the", also across a line break) that
           `brindle grammar --check` finds, and its repeated-word findings
           per 1,000 comment words of the corpus as it is
  grammar  with --grammar-sample N, N findings of `brindle grammar --check`
           drawn with a fixed seed, for labelling by hand; with
           --grammar-labels FILE, the share of labelled findings that are
           right

An alarm is not always false: many are real misspellings that codespell
does not list. --alarm-sample N draws alarms for labelling by hand, and
--alarm-labels FILE estimates the false alarms per 1,000 words from them.

The files of every corpus are split in two halves by a hash of their path:
rules are decided on the "tune" half (--half tune, which also lists the
words raised most often) and the figures are reported on the "report" half.

Usage: bench/spelling_quality.py [--brindle PATH] [--half tune|report]
                                 [--typos N] [--top N] [--corpora a,b]
                                 [--repeats N] [--grammar-sample N]
                                 [--grammar-labels FILE] [--sample N]
                                 [--alarms FILE] [--alarm-sample N]
                                 [--alarm-labels FILE]
Standard library, codespell's dictionary and hunspell only.
"""

import argparse
import bisect
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
import comment_lexers  # noqa: E402  (comments beyond "//", read without brindle)
import syntax_corpus  # noqa: E402  (the corpora of those languages)

CODESPELL_DICTIONARY = "/usr/lib/python3/dist-packages/codespell_lib/data/dictionary.txt"
SEED = 11
FINDING = re.compile(r'^(.*):(\d+):(\d+): spelling: "(.*)"$')
WORD = re.compile(r"[A-Za-z]+(?:'[a-z]+)?")


def half_of(relative):
    digest = hashlib.sha1(relative.encode()).digest()
    return "tune" if digest[0] % 2 == 0 else "report"


# Corpora of the block, doc and "#" comments of other languages, a fixed
# sample of each (see scripts/corpus/syntax_corpus.py): C headers (block
# comments), Java (doc comments), TypeScript, Python (docstrings and "#").
SYNTAX_CORPORA = ["c-headers", "java", "typescript", "python"]


def own_line_comments(text, lang):
    """{line number (0-based): (column, body)} for each line that is a
    comment from its first non-blank character: the body is the line's text
    after its marker, a block's opener or decoration, or (on undecorated
    lines of a block or docstring) the block's common indentation, and
    before a closer. Read by lexers that owe nothing to brindle."""
    lines = text.split("\n")
    starts = corpus_check._line_starts(text)
    if lang in ("c", "go", "rust"):
        spans = [(kind, s, e) for kind, s, e in corpus_check.lex(text, lang) if kind in ("line", "block")]
    else:
        spans = comment_lexers.comment_spans(text, lang)
    out = {}
    for kind, s, e in spans:
        first = bisect.bisect_right(starts, s) - 1
        last = bisect.bisect_right(starts, max(s, e - 1)) - 1
        col = s - starts[first]
        if lines[first][:col].strip():
            if kind == "line" or first == last:
                continue  # after code
            first_own = False
        else:
            first_own = True
        if kind == "line":
            body = lines[first][col:e - starts[first]]
            marker = comment_lexers.line_marker(body)
            out[first] = (col + len(marker), body[len(marker):])
            continue
        end_col = e - starts[last]
        if lang == "python":
            opener, _, closer = comment_lexers._split_quotes(text[s:e])
            decorated = False
        else:
            m = comment_lexers._BLOCK_OPEN.match(text, s)
            opener, closer = (m.group(0) if m else "/*"), "*/"
            decorated = opener.startswith("/*")
        inner = range(first + 1, last + 1)
        undecorated = [n for n in inner if not (decorated and comment_lexers._DECORATION.match(lines[n]))
                       and lines[n][:end_col if n == last else None].strip()]
        indent = min((len(lines[n]) - len(lines[n].lstrip()) for n in undecorated), default=0)
        for n in range(first, last + 1):
            stop = end_col if n == last else len(lines[n])
            row = lines[n][:stop]
            if n == last and row.rstrip().endswith(closer):
                row = row.rstrip()[:-len(closer)]
                row = row.rstrip("*") if closer == "*/" else row
            if n == first:
                if not first_own:
                    continue
                at = col + len(opener)
            else:
                d = comment_lexers._DECORATION.match(row) if decorated else None
                at = d.end() if d else min(indent, len(row) - len(row.lstrip()))
            if at <= len(row):
                out[n] = (at, row[at:])
    return out


def comment_words(comments):
    return sum(len(body.split()) for _, body in comments.values())


def prose_lines(text, comments):
    """Line numbers (0-based) of comment lines that read as plain prose to an
    eye that owes nothing to brindle: outside ``` fences, not indented as
    code, four or more words of letters only."""
    lines, fenced = [], False
    for number in range(len(text.split("\n"))):
        if number not in comments:
            fenced = False
            continue
        body = comments[number][1]
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


def corpus_sources(name, sample, unpack_into):
    """(the corpus, its source files): every file of a "//" corpus that holds
    a "//", a fixed sample of the files of another language's corpus."""
    if name in syntax_corpus.BY_NAME:
        syntax = syntax_corpus.BY_NAME[name]
        options = argparse.Namespace(full=False, sample=sample)
        return syntax.corpus, syntax_corpus.choose(syntax, options, unpack_into)[0]
    corpus = next(c for c in corpus_check.CORPORA if c.name == name)
    return corpus, corpus_check.corpus_files(corpus)


def make_repository(files, into):
    """Copies the source files into a new git repository; returns their
    paths relative to it."""
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


PLANT_KINDS = ["plain", "sentence start", "possessive", "emphasis", "link text", "slash compound",
               "hyphen prefix", "next to code", "identifier"]
IDENTIFIER = re.compile(r"\b[a-z]{6,12}\b")


def planted_form(kind, line, comment, word, wrong, identifiers, rng):
    """The line with `word` replaced for the kind of typo, and the word
    brindle must name; None when the kind does not fit the line."""
    before, after = line[:word.start()], line[word.end():]
    if kind == "plain":
        return before + wrong + after, wrong
    if kind == "sentence start":
        column, body = comment
        first = WORD.search(body)
        if first is None or word.start() != column + first.start():
            return None
        capital = wrong[0].upper() + wrong[1:]
        return before + capital + after, capital
    if kind == "possessive":
        return before + wrong + "'s" + after, wrong + "'s"
    if kind == "emphasis":
        return before + "*" + wrong + "*" + after, wrong
    if kind == "link text":
        return before + "[" + wrong + "](https://example.com/a/b)" + after, wrong
    if kind == "slash compound":
        return before + wrong + "/other" + after, wrong
    if kind == "hyphen prefix":
        return before + "re-" + wrong + after, wrong
    if kind == "next to code":
        return before + wrong + " `x`" + after, wrong
    if kind == "identifier":
        names = [n for n in identifiers if n not in {word.group(0)}]
        if not names:
            return None
        name = rng.choice(names)
        at = rng.randrange(1, len(name) - 1)
        letter = rng.choice([c for c in "aeioulnrst" if c != name[at]])
        wrong = name[:at] + letter + name[at + 1:]
        if wrong in identifiers:
            return None
        return before + wrong + after, wrong
    return None


def code_identifiers(text, comments):
    """Lower-case identifiers of six letters or more on lines that are not
    comments."""
    names = set()
    for number, line in enumerate(text.split("\n")):
        if number not in comments:
            names.update(IDENTIFIER.findall(line))
    return sorted(names)


def plant(repository, relatives, comments, misspellings, count, rng, kinds=("plain",)):
    """Replaces one correct word on `count` prose lines with a misspelling of
    it, in the form of one of `kinds` in turn; returns [(relative, line,
    named word, kind)]."""
    candidates = []
    for relative in relatives:
        with open(os.path.join(repository, relative), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for number in prose_lines(text, comments[relative]):
            candidates.append((relative, number))
    rng.shuffle(candidates)
    planted, per_file = [], collections.Counter()
    texts, identifiers = {}, {}
    for relative, number in candidates:
        if len(planted) >= count:
            break
        if per_file[relative] >= 2:
            continue
        if relative not in texts:
            with open(os.path.join(repository, relative), encoding="utf-8", errors="surrogateescape") as f:
                texts[relative] = f.read().split("\n")
            identifiers[relative] = code_identifiers("\n".join(texts[relative]), comments[relative])
        line = texts[relative][number]
        words = [m for m in WORD.finditer(line) if m.group(0).lower() in misspellings
                 and m.group(0).islower()]
        if not words:
            continue
        word = rng.choice(words)
        wrong = rng.choice(misspellings[word.group(0)])
        kind = kinds[len(planted) % len(kinds)]
        form = planted_form(kind, line, comments[relative][number], word, wrong, identifiers[relative], rng)
        if form is None:
            continue
        texts[relative][number], named = form
        planted.append((relative, number, named, kind))
        per_file[relative] += 1
    for relative, lines in texts.items():
        with open(os.path.join(repository, relative), "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write("\n".join(lines))
    return planted


GRAMMAR = re.compile(r'^(.*):(\d+):(\d+): (passive voice|perfect tense|repeated word): "(.*)"$')


def run_grammar(brindle, repository, relatives, environment, rules="passive,repeated"):
    """[(relative, line 0-based, kind, text)] of brindle grammar --check."""
    found = []
    for i in range(0, len(relatives), 400):
        done = subprocess.run([brindle, "grammar", "--check", "--rules", rules, *relatives[i:i + 400]],
                              cwd=repository, capture_output=True, text=True, env=environment)
        if done.returncode not in (0, 1):
            sys.exit("brindle grammar failed: " + done.stderr[:2000])
        for row in done.stdout.splitlines():
            m = GRAMMAR.match(row)
            if m:
                found.append((m.group(1), int(m.group(2)) - 1, m.group(4), m.group(5).replace('\\"', '"')))
    return found


def plant_repeats(repository, relatives, comments, count, rng):
    """Writes a word of `count` prose lines twice: on the line, or the last
    word of a line again at the start of the next prose line of the same
    paragraph. Returns [(relative, line where the finding starts)]."""
    candidates = []
    for relative in relatives:
        with open(os.path.join(repository, relative), encoding="utf-8", errors="replace") as f:
            text = f.read()
        prose = prose_lines(text, comments[relative])
        following = set(prose)
        for number in prose:
            candidates.append((relative, number, number + 1 in following))
    rng.shuffle(candidates)
    planted, texts, used = [], {}, set()
    for relative, number, next_is_prose in candidates:
        if len(planted) >= count:
            break
        if (relative, number) in used or (relative, number + 1) in used or (relative, number - 1) in used:
            continue
        if relative not in texts:
            with open(os.path.join(repository, relative), encoding="utf-8", errors="surrogateescape") as f:
                texts[relative] = f.read().split("\n")
        lines = texts[relative]
        words = [m for m in WORD.finditer(lines[number]) if m.group(0).islower() and len(m.group(0)) > 1
                 and m.group(0) not in ("that", "had", "is")]
        if not words:
            continue
        across = next_is_prose and len(planted) % 3 == 2
        if across:
            last = words[-1]
            if lines[number][last.end():].strip():
                continue
            marker, body = comments[relative][number + 1]
            indent = len(body) - len(body.lstrip())
            lines[number + 1] = lines[number + 1][:marker + indent] + last.group(0) + " " + \
                lines[number + 1][marker + indent:]
        else:
            word = rng.choice(words)
            lines[number] = lines[number][:word.end()] + " " + word.group(0) + lines[number][word.end():]
        planted.append((relative, number))
        used.add((relative, number))
    for relative, lines in texts.items():
        with open(os.path.join(repository, relative), "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write("\n".join(lines))
    return planted


def source_line(repository, relative, number):
    with open(os.path.join(repository, relative), encoding="utf-8", errors="replace") as f:
        lines = f.read().split("\n")
    return lines[number] if number < len(lines) else ""


def read_labels(path):
    """{(corpus, relative, line, text): True/False} from a labels file: one
    finding a line, tab-separated corpus, path, line (from 1), kind, text,
    label (T or F), note."""
    labels = {}
    with open(path, encoding="utf-8") as f:
        for row in f:
            if row.startswith("#") or not row.strip():
                continue
            fields = row.rstrip("\n").split("\t")
            labels[(fields[0], fields[1], int(fields[2]) - 1, fields[4])] = fields[5] == "T"
    return labels


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--brindle", default=os.path.join(REPO, "build", "cli", "commands", "brindle"))
    parser.add_argument("--half", choices=["tune", "report"], default="report")
    parser.add_argument("--typos", type=int, default=400)
    parser.add_argument("--top", type=int, default=0, help="list the N words raised most often")
    parser.add_argument("--corpora", default="", help="comma-separated corpus names (default: all)")
    parser.add_argument("--hunspell", default="hunspell")
    parser.add_argument("--repeats", type=int, default=200, help="repeated words to plant in all")
    parser.add_argument("--grammar-sample", type=int, default=0,
                        help="write N grammar findings drawn at random to grammar_sample.tsv")
    parser.add_argument("--sample", type=int, default=600,
                        help="files taken from each corpus of another language, before halving")
    parser.add_argument("--alarms", default="", help="write every alarm on the corpus as it is to this file")
    parser.add_argument("--alarm-sample", type=int, default=0,
                        help="write N alarms drawn at random to alarm_sample.tsv, for labelling by hand")
    parser.add_argument("--alarm-labels", default="",
                        help="alarms labelled T (a real misspelling) or F (a false alarm): estimate the false ones")
    parser.add_argument("--grammar-labels", default="", help="labelled findings: report their precision")
    args = parser.parse_args()
    for tool in (args.brindle, args.hunspell, "git"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing (bench/setup.sh installs the tools)")
    if not os.path.exists(CODESPELL_DICTIONARY):
        sys.exit("codespell's dictionary is missing (bench/setup.sh installs it)")

    wanted = set(filter(None, args.corpora.split(",")))
    corpora = [name for name in [c.name for c in corpus_check.CORPORA] + SYNTAX_CORPORA
               if not wanted or name in wanted]
    misspellings = load_misspellings(args.hunspell)
    real_typos = known_misspellings()
    rng = random.Random(SEED)
    scratch = tempfile.mkdtemp(prefix="brindle-spelling-")
    environment = dict(os.environ, XDG_CACHE_HOME=os.path.join(scratch, "cache"), LC_ALL="C.UTF-8")
    totals = collections.Counter()
    raised = collections.Counter()
    kind_totals = collections.Counter()
    kind_found = collections.Counter()
    grammar_findings = []
    repeat_alarms = []
    alarm_rows = []
    missed_rows = []
    print(f"half: {args.half}; {sum(len(v) for v in misspellings.values())} misspellings "
          f"of {len(misspellings)} words to plant from\n")
    print(f"{'corpus':<12}{'files':>7}{'words':>10}{'alarms':>8}{'typos':>7}{'/1000':>8}{'planted':>9}"
          f"{'found':>7}{'first s':>9}{'again s':>9}")
    try:
        for name in corpora:
            corpus, files = corpus_sources(name, args.sample, os.path.join(scratch, "unpacked"))
            repository = os.path.join(scratch, corpus.name)
            relatives = make_repository(files, repository)
            shutil.rmtree(os.path.join(scratch, "unpacked"), ignore_errors=True)
            chosen = [r for r in relatives if half_of(corpus.name + "/" + r) == args.half]
            if not chosen:
                continue
            comments = {}
            for relative in chosen:
                with open(os.path.join(repository, relative), encoding="utf-8", errors="replace") as f:
                    comments[relative] = own_line_comments(f.read(), corpus.lang)
            words = sum(comment_words(c) for c in comments.values())
            found, first = run_spell(args.brindle, repository, chosen, environment)
            _, again = run_spell(args.brindle, repository, chosen, environment)
            for relative, number, kind, text in run_grammar(args.brindle, repository, chosen, environment):
                grammar_findings.append((corpus.name, relative, number, kind, text, source_line(
                    repository, relative, number)))
                if kind == "repeated word":
                    repeat_alarms.append((corpus.name, relative, number + 1, text))
            alarms = sum(len(v) for v in found.values())
            typos = sum(1 for v in found.values() for w in v if w.lower() in real_typos)
            for v in found.values():
                raised.update(v)
            for (relative, number), v in sorted(found.items()):
                for word in v:
                    alarm_rows.append((corpus.name, relative, number + 1, word,
                                       source_line(repository, relative, number).strip()))

            planted = plant(repository, chosen, comments, misspellings, args.typos // len(corpora), rng, PLANT_KINDS)
            typo_found, _ = run_spell(args.brindle, repository, sorted({p[0] for p in planted}), environment)
            hits = 0
            for relative, number, wrong, kind in planted:
                hit = wrong in typo_found.get((relative, number), [])
                hits += hit
                if not hit:
                    missed_rows.append((corpus.name, relative, number + 1, wrong, kind,
                                        source_line(repository, relative, number).strip()))
                kind_totals[kind] += 1
                kind_found[kind] += hit

            repeats = plant_repeats(repository, chosen, comments, args.repeats // len(corpora), rng)
            repeated = {(r, n) for r, n, kind, _ in run_grammar(args.brindle, repository,
                                                                 sorted({p[0] for p in repeats}), environment,
                                                                 "repeated")}
            repeat_hits = sum(1 for p in repeats if p in repeated)
            for relative, number in repeats:
                if (relative, number) not in repeated:
                    missed_rows.append((corpus.name, relative, number + 1, "", "repeated word",
                                        source_line(repository, relative, number).strip() + " / " +
                                        source_line(repository, relative, number + 1).strip()))
            shutil.rmtree(repository)

            totals.update(files=len(chosen), words=words, alarms=alarms, typos=typos, planted=len(planted),
                          found=hits, repeats=len(repeats), repeats_found=repeat_hits)
            print(f"{corpus.name:<12}{len(chosen):>7}{words:>10}{alarms:>8}{typos:>7}{1000 * alarms / max(words, 1):>8.2f}"
                  f"{len(planted):>9}{hits:>7}{first:>9.1f}{again:>9.1f}", flush=True)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    print(f"\n{'all':<12}{totals['files']:>7}{totals['words']:>10}{totals['alarms']:>8}{totals['typos']:>7}"
          f"{1000 * totals['alarms'] / max(totals['words'], 1):>8.2f}{totals['planted']:>9}{totals['found']:>7}")
    print(f"\nalarms per 1,000 comment words: {1000 * totals['alarms'] / max(totals['words'], 1):.2f} (goal <= 0.5);"
          f" {totals['typos']} of the alarms are misspellings codespell knows too, "
          f"{1000 * (totals['alarms'] - totals['typos']) / max(totals['words'], 1):.2f} per 1,000 words without them")
    print(f"recall: {totals['found']} of {totals['planted']} = "
          f"{100 * totals['found'] / max(totals['planted'], 1):.1f} % (goal >= 97 %)")
    for kind in PLANT_KINDS:
        print(f"  {kind:<16}{kind_found[kind]:>5} of {kind_totals[kind]:<5}")
    print(f"\nrepeated words: {totals['repeats_found']} of {totals['repeats']} planted found = "
          f"{100 * totals['repeats_found'] / max(totals['repeats'], 1):.1f} % (goal >= 95 %); "
          f"{len(repeat_alarms)} findings on the corpus as it is = "
          f"{1000 * len(repeat_alarms) / max(totals['words'], 1):.2f} per 1,000 comment words (goal <= 0.1):")
    for alarm in repeat_alarms:
        print("  " + "\t".join(map(str, alarm)))
    grammar_words = collections.Counter(kind for _, _, _, kind, _, _ in grammar_findings)
    print(f"\ngrammar findings: {dict(grammar_words)}, "
          f"{1000 * len(grammar_findings) / max(totals['words'], 1):.2f} per 1,000 comment words")
    if args.grammar_sample:
        sample = random.Random(SEED).sample(grammar_findings, min(args.grammar_sample, len(grammar_findings)))
        with open("grammar_sample.tsv", "w", encoding="utf-8") as f:
            for corpus_name, relative, number, kind, text, line in sample:
                f.write(f"{corpus_name}\t{relative}\t{number + 1}\t{kind}\t{text}\t?\t{line.strip()}\n")
        print(f"{len(sample)} findings written to grammar_sample.tsv for labelling")
    if args.grammar_labels:
        labels = read_labels(args.grammar_labels)
        right = sum(labels.values())
        print(f"grammar findings labelled: {right} of {len(labels)} right = "
              f"{100 * right / max(len(labels), 1):.1f} % (goal >= 95 %)")
    if args.alarm_sample:
        sample = random.Random(SEED).sample(alarm_rows, min(args.alarm_sample, len(alarm_rows)))
        with open("alarm_sample.tsv", "w", encoding="utf-8") as f:
            for row in sample:
                f.write("\t".join(map(str, row[:4])) + "\t?\t" + row[4] + "\n")
        print(f"{len(sample)} alarms written to alarm_sample.tsv for labelling")
    if args.alarm_labels:
        labels = {}
        with open(args.alarm_labels, encoding="utf-8") as f:
            for row in f:
                if row.startswith("#") or not row.strip():
                    continue
                fields = row.rstrip("\n").split("\t")
                labels[(fields[0], fields[1], int(fields[2]), fields[3])] = fields[4] == "T"  # then a note
        # Labels drawn from another build estimate nothing for this one: only
        # the labelled alarms this build still raises are counted.
        raised_now = {tuple(row[:4]) for row in alarm_rows}
        current = {key: real for key, real in labels.items() if key in raised_now}
        real = sum(current.values())
        share = (len(current) - real) / max(len(current), 1)
        print(f"alarms labelled by hand: {len(current)} of {len(labels)} still raised, {real} of them real "
              f"misspellings; estimated false alarms {1000 * totals['alarms'] * share / max(totals['words'], 1):.2f} "
              f"per 1,000 comment words (goal <= 0.5)")
        if len(current) < len(labels):
            print("  the labels are from another build: draw and label a new sample (--alarm-sample 100)")
    if args.alarms:
        with open(args.alarms, "w", encoding="utf-8") as f:
            for row in alarm_rows:
                f.write("\t".join(map(str, row)) + "\n")
        with open(args.alarms + ".missed", "w", encoding="utf-8") as f:
            for row in missed_rows:
                f.write("\t".join(map(str, row)) + "\n")
    if args.top:
        print("\nraised most often:")
        for word, n in raised.most_common(args.top):
            print(f"{n:6} {word}")


if __name__ == "__main__":
    main()
