#!/usr/bin/env python3
"""Fails when a folder includes a header of a folder above it.

Each folder of the program is one layer and may use only the folders listed
for it below. The link step already stops most upward includes (a target
sees only the headers of the libraries it links); this check also catches a
new link added in the wrong direction, and says which include is wrong.
"""
import pathlib
import re
import sys

# What each folder may include besides itself. Order is the layering: a
# folder lists only folders that come before it.
ALLOWED = {
    "base": set(),
    "engine": set(),
    "reflow": {"base", "engine"},
    "proofreading": {"base", "engine", "reflow"},
    "settings": {"base", "engine"},
    "helper": {"base", "reflow"},
    "helper/client": {"base", "helper"},
    "workbench": {"base", "engine", "reflow", "proofreading", "settings", "helper/client"},
    "preferences": {"base", "engine", "settings", "workbench"},
    "app": {"base", "engine", "settings", "workbench", "preferences"},
    "cli/core": {"base", "engine", "reflow", "proofreading", "settings"},
    "cli/lsp": {"base", "engine", "reflow", "proofreading", "settings", "cli/core"},
    "cli/commands": {"base", "engine", "reflow", "proofreading", "settings", "helper/client",
                     "cli/core", "cli/lsp"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def folder_of(path: str) -> str | None:
    """The longest listed folder that holds the path."""
    best = None
    for folder in ALLOWED:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = []
    for folder in ALLOWED:
        for source in sorted((root / folder).glob("*")):
            if source.suffix not in {".h", ".cpp", ".in"}:
                continue
            own = folder_of(str(source.parent.relative_to(root)))
            text = source.read_text(encoding="utf-8")
            for match in INCLUDE.finditer(text):
                target = folder_of(str(pathlib.PurePosixPath(match.group(1)).parent))
                if target is None or target == own or target in ALLOWED[own]:
                    continue
                line = text.count("\n", 0, match.start()) + 1
                faults.append(f"{source.relative_to(root)}:{line}: {own} must not include "
                              f'"{match.group(1)}" ({target} is not below it)')
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
