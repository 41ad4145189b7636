#!/usr/bin/python3
"""Runs two brindle programs over the corpus sample and lists every file on
which their outputs differ, command by command. A change that is meant to
keep behaviour (a restructuring) must show no difference.

    compare_outputs.py OLD_BRINDLE NEW_BRINDLE [--full] [--width N]...
"""
import argparse
import concurrent.futures
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import corpus_check  # noqa: E402

COMMANDS = [
    ["wrap"], ["wrap", "--fill"], ["unwrap"], ["explain"],
    ["spell", "--check", "--lang", "en_US"], ["grammar", "--check"],
]


def run(brindle, command, width, path):
    args = [brindle, *command]
    if command[0] in ("wrap", "unwrap", "explain"):
        args += ["--width", str(width)]
    result = subprocess.run([*args, path], capture_output=True, timeout=600)
    return result.returncode, result.stdout, result.stderr.replace(brindle.encode(), b"brindle")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--full", action="store_true")
    parser.add_argument("--width", type=int, action="append")
    parser.add_argument("--sample", type=int, default=120)
    options = parser.parse_args()
    widths = options.width or [80, 100]
    files = []
    for corpus in corpus_check.CORPORA:
        found = corpus_check.corpus_files(corpus)
        files += found if options.full else corpus_check.ci_sample(found, options.sample)
    jobs = [(command, width, path) for command in COMMANDS for width in widths for path in files
            if width == widths[0] or command[0] in ("wrap", "unwrap", "explain")]
    differing = {}
    env = dict(os.environ, XDG_CONFIG_HOME="/nonexistent", XDG_CACHE_HOME="/nonexistent")
    os.environ.update(env)

    def compare(job):
        command, width, path = job
        return job, run(options.old, command, width, path) != run(options.new, command, width, path)

    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        for (command, width, path), differs in pool.map(compare, jobs):
            if differs:
                differing.setdefault((" ".join(command), width), []).append(path)
    print(f"{len(files)} files, {len(jobs)} runs per program")
    for (command, width), paths in sorted(differing.items()):
        print(f"{command} at {width}: {len(paths)} files differ")
        for path in paths[:10]:
            print("   ", path)
    if not differing:
        print("no differences")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
