#!/usr/bin/env python3
"""Reads the server command out of each editor snippet in integrations/lsp the
way its editor would, runs it against BRINDLE, and checks that it serves a
session: a wrong subcommand or option in a snippet shows up here.

Usage: lsp_integrations_test.py BRINDLE INTEGRATIONS_LSP_DIR
"""
import json
import os
import re
import shutil
import sys
import tempfile
import tomllib
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lsp_client import LspClient  # noqa: E402

BRINDLE = os.path.abspath(sys.argv[1])
FOLDER = os.path.abspath(sys.argv[2])
del sys.argv[1:3]


def read(name):
    with open(os.path.join(FOLDER, name), encoding="utf-8") as f:
        return f.read()


def lua_list(text, key):
    return re.findall(r"'([^']*)'", re.search(key + r"\s*=\s*\{([^}]*)\}", text).group(1))


def helix():
    server = tomllib.loads(read("helix/languages.toml"))["language-server"]["brindle"]
    return [server["command"], *server["args"]], server.get("config")


def kate():
    servers = json.loads(read("kate/settings.json"))["servers"]
    commands = {tuple(s["command"]) for s in servers.values()}
    assert len(commands) == 1, commands
    return list(commands.pop()), servers["cpp"].get("initializationOptions")


def neovim():
    text = read("neovim/brindle-lsp.lua")
    severity = re.search(r"severity\s*=\s*'(\w+)'", text).group(1)
    return lua_list(text, "cmd"), {"severity": severity}


def eglot():
    match = re.search(r'\. \("([^"]+)" "([^"]+)" :initializationOptions \(:severity "(\w+)"\)\)',
                      read("emacs-eglot/brindle-eglot.el"))
    return [match.group(1), match.group(2)], {"severity": match.group(3)}


def vscode():
    text = read("vscode/extension.js")
    match = re.search(r"\{ command: '([^']+)', args: \['([^']+)'\] \}", text)
    package = json.loads(read("vscode/package.json"))
    assert package["main"] == "./extension.js"
    return [match.group(1), match.group(2)], {"severity": "information"}


class Snippets(unittest.TestCase):
    def test_each_snippet_starts_a_working_server(self):
        for name, snippet in [("helix", helix), ("kate", kate), ("neovim", neovim), ("emacs-eglot", eglot),
                              ("vscode", vscode)]:
            with self.subTest(name):
                self.assertTrue(os.path.exists(os.path.join(FOLDER, name, "README.md")))
                command, options = snippet()
                self.assertEqual(command[0], "brindle")
                work = tempfile.mkdtemp()
                self.addCleanup(shutil.rmtree, work)
                env = dict(os.environ, XDG_CONFIG_HOME=work, XDG_CACHE_HOME=work, HOME=work)
                client = LspClient(BRINDLE, work, env, args=command[1:])
                try:
                    result = client.initialize(options=options)
                    self.assertIn("codeActionProvider", result["capabilities"])
                    uri = "file://" + os.path.join(work, "a.cpp")
                    client.notify("textDocument/didOpen", {"textDocument": {
                        "uri": uri, "languageId": "cpp", "version": 1, "text": "// a wrongg word\n"}})
                    diagnostic = client.diagnostics(uri)["diagnostics"][0]
                    self.assertEqual(diagnostic["severity"], {"hint": 4, "information": 3}[options["severity"]])
                    self.assertEqual(client.close(), 0)
                finally:
                    for stream in (client.process.stdin, client.process.stdout, client.process.stderr):
                        stream.close()


if __name__ == "__main__":
    unittest.main(verbosity=2)
