#!/usr/bin/env python3
"""How long `brindle lsp` takes to check a 10,000-line file after the quiet
period of a change ends (goal: within 50 ms).

Usage: bench/lsp_latency.py BRINDLE [--runs N] [--lines N]

For each run it sends one small incremental change and measures the time to
the publishDiagnostics notification for that version, minus the 100 ms
quiet period; it also reads the server's own log of the time spent
checking. Prints the median and the worst of both.
"""
import argparse
import os
import re
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "lsp"))
from lsp_client import LspClient  # noqa: E402

QUIET_PERIOD_MS = 100

# A paragraph with three findings (a misspelling and two passives), and one
# with none: the dense file has only the first, the typical file one of the
# first in twenty.
FINDINGS = [
    "// Parses the configuration file and returns the settings that it holds,",
    "// falling back to the defaults for every key that is missing. The file",
    "// is read once; a recieved value that does not parse is reported with its",
    "// line number and the caller decides whether to go on.",
]
CLEAN = [
    "// Parses the configuration file and returns the settings that it holds,",
    "// falling back to the defaults for every key that is missing. We read",
    "// the file once and report a value that does not parse with its line",
    "// number; the caller decides whether to go on.",
]
CODE = [
    "int parse_settings(const char* path, struct settings* out) {",
    "  if (path == NULL) return -1;  // nothing to read",
    "  return read_file(path, out);",
    "}",
    "",
]


def sample(lines, dense):
    out = []
    paragraphs = 0
    while len(out) < lines:
        out.extend(FINDINGS if dense or paragraphs % 20 == 0 else CLEAN)
        out.extend(CODE)
        paragraphs += 1
    return "\n".join(out[:lines]) + "\n"


def measure(brindle, lines, runs, dense):
    work = tempfile.mkdtemp()
    path = os.path.join(work, "large.c")
    text = sample(lines, dense)
    with open(path, "w") as f:
        f.write(text)
    uri = "file://" + path
    env = dict(os.environ, XDG_CACHE_HOME=os.path.join(work, "cache"))
    client = LspClient(brindle, work, env)
    client.initialize()
    client.notify("textDocument/didOpen",
                  {"textDocument": {"uri": uri, "languageId": "c", "version": 1, "text": text}})
    first = client.diagnostics(uri, timeout=120)
    print(f"{'dense' if dense else 'typical'}: {lines} lines, {len(text)} bytes, "
          f"{len(first['diagnostics'])} findings")

    latencies = []
    for run in range(runs):
        version = run + 2
        # Alternate one word of a comment in the middle of the file.
        line = lines // 2 - (lines // 2) % 9 + 2
        start = time.monotonic()
        client.notify("textDocument/didChange", {
            "textDocument": {"uri": uri, "version": version},
            "contentChanges": [{"range": {"start": {"line": line, "character": 3},
                                          "end": {"line": line, "character": 5}},
                                "text": "is" if run % 2 else "IS"}]})
        client.wait_for(lambda m: m.get("method") == "textDocument/publishDiagnostics"
                        and m["params"].get("version") == version, timeout=60)
        latencies.append((time.monotonic() - start) * 1000 - QUIET_PERIOD_MS)
    client.close()
    log = client.process.stderr.read().decode()
    checks = [float(ms) for _, ms in re.findall(r"version (\d+) in ([\d.]+) ms", log)]
    checks = checks[1:]  # the open also loads the dictionary
    print(f"  change to diagnostics, minus the quiet period: median {statistics.median(latencies):.1f} ms, "
          f"worst {max(latencies):.1f} ms")
    print(f"  checking time logged by the server:          median {statistics.median(checks):.1f} ms, "
          f"worst {max(checks):.1f} ms")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("brindle")
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--lines", type=int, default=10000)
    args = parser.parse_args()
    for dense in (False, True):
        measure(os.path.abspath(args.brindle), args.lines, args.runs, dense)
    print("goal: within 50 ms")


if __name__ == "__main__":
    main()
