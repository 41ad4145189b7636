#!/usr/bin/env python3
"""brindle's man page against the program: every command of `brindle --help`
is described, every option of each command's --help is in that command's
synopsis and in OPTIONS, and widths are columns, as the program counts them.

    man_page_matches_help_test.py BRINDLE MAN_PAGE
"""
import os
import re
import subprocess
import sys
import tempfile


def run(brindle, *args):
    return subprocess.run([brindle, *args], capture_output=True, text=True, check=True, env=ENV).stdout


def rendered(page):
    """The page as man shows it, one long line per paragraph, hyphens plain."""
    text = subprocess.run(["groff", "-man", "-Tutf8", "-rHY=0", "-rLL=1000n", "-P-cbou", page],
                          capture_output=True, text=True, check=True).stdout
    return text.replace("\u2212", "-").replace("\u2010", "-")


def sections(text):
    found, name = {}, None
    for line in text.splitlines():
        if re.match(r"^[A-Z][A-Z ]+$", line):
            name = line
            found[name] = []
        elif name:
            found[name].append(line.strip())
    return found


def options_of(help_text):
    """The options a --help lists, -h/--help aside: each long name with its
    short one, or with itself when there is none."""
    found = {}
    for short, long in re.findall(r"^  (?:(-\w), |    )(--[a-z][a-z-]*)", help_text, re.M):
        found[long] = short or long
    found.pop("--help", None)
    return found


def mentions(line, option):
    return re.search(r"(?<![\w-])" + re.escape(option) + r"(?![\w-])", line) is not None


def main():
    brindle, page = sys.argv[1], sys.argv[2]
    man = sections(rendered(page))
    failures = []
    overview = run(brindle, "--help")
    commands = re.findall(r"^  ([a-z]+) {2,}", overview.split("Commands:\n", 1)[1], re.M)
    if len(commands) < 5:
        failures.append("could not read the commands of brindle --help")
    synopsis = man.get("SYNOPSIS", [])
    described = {line.split()[0] for line in man.get("COMMANDS", []) if line}
    option_items = [line for line in man.get("OPTIONS", []) if line.startswith("-")]
    for command in commands:
        if command not in described:
            failures.append(f"COMMANDS does not describe '{command}'")
        lines = [line for line in synopsis if re.match(rf"brindle {command}\b", line)]
        if not lines:
            failures.append(f"SYNOPSIS has no 'brindle {command}'")
        for option, short in sorted(options_of(run(brindle, command, "--help")).items()):
            if not any(mentions(line, option) or mentions(line, short) for line in lines):
                failures.append(f"SYNOPSIS of '{command}' lacks {option}")
            if not any(mentions(line.split("  ")[0], option) for line in option_items):
                failures.append(f"OPTIONS has no item for {option} (of '{command}')")
    for option in ("--help", "--version"):
        if option not in overview or not any(mentions(line, option) for line in option_items):
            failures.append(f"OPTIONS has no item for brindle's own {option}")
    # Widths are display columns wherever the program speaks of them.
    whole = " ".join(line for lines in man.values() for line in lines)
    if re.search(r"\b(length|lengths|width)\b[^.]*\bcharacters\b", whole, re.I):
        failures.append("a width or length is given in characters; brindle counts columns")
    width_item = " ".join(man.get("OPTIONS", [])).split("--fill")[0]
    if "columns" not in width_item:
        failures.append("the --width item does not say columns")
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print(f"ok: {len(commands)} commands and their options")
    return 1 if failures else 0


if __name__ == "__main__":
    with tempfile.TemporaryDirectory() as home:
        # A settings folder of its own, so the user's setting cannot matter.
        ENV = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home, XDG_CACHE_HOME=home)
        sys.exit(main())
