#!/usr/bin/env python3
"""Times a repository-wide `brindle wrap --check` against `clang-format
--dry-run` over the same C++ files of the real-code corpus (Abseil,
libstdc++ and Qt headers), alternating the two, and prints the median wall
times and their ratio. Both only read: neither rewrites a file.

    bench/check_speed.py [--brindle PATH] [--runs N]

brindle uses every core as it does for a user; clang-format has no such
option, so brindle held to one core is shown too, for information."""

import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts", "corpus"))
import corpus_check  # noqa: E402

CXX_CORPORA = ("absl", "libstdcxx", "qt")


def timed(command):
    start = time.monotonic()
    proc = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if proc.returncode not in (0, 1):  # 1: --check found files to change
        sys.exit("%s exited with %d" % (command[0], proc.returncode))
    return time.monotonic() - start


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--brindle", default=os.environ.get("BRINDLE", "build/cli/commands/brindle"))
    ap.add_argument("--clang-format", default="clang-format")
    ap.add_argument("--runs", type=int, default=3)
    opts = ap.parse_args()

    files = []
    for corpus in corpus_check.CORPORA:
        if corpus.name in CXX_CORPORA:
            files += corpus_check.corpus_files(corpus)
    if not files:
        sys.exit("no corpus files; run scripts/corpus/install-corpus.sh")
    size = sum(os.path.getsize(f) for f in files)

    commands = {
        "brindle wrap --check": [opts.brindle, "wrap", "--check", "--width", "80"] + files,
        "clang-format --dry-run": [opts.clang_format, "--dry-run"] + files,
        "brindle, one core": ["taskset", "-c", "0", opts.brindle, "wrap", "--check", "--width", "80"] + files,
    }
    times = {name: [] for name in commands}
    timed(commands["brindle wrap --check"])  # warm the page cache
    for _ in range(opts.runs):
        for name, command in commands.items():
            times[name].append(timed(command))

    print("%d C++ files, %.1f MB; medians of %d runs" % (len(files), size / 1e6, opts.runs))
    medians = {name: statistics.median(t) for name, t in times.items()}
    for name, seconds in medians.items():
        print("  %-24s %8.3f s" % (name, seconds))
    ratio = medians["clang-format --dry-run"] / medians["brindle wrap --check"]
    print("clang-format / brindle: %.1fx (target: at least 10x)" % ratio)
    return 0 if ratio >= 10 else 1


if __name__ == "__main__":
    sys.exit(main())
