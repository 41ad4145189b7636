#!/usr/bin/env python3
"""Speaks the Language Server Protocol to `brindle lsp` over pipes and checks
its answers against what the brindle commands give on the same file.

Usage: lsp_protocol_test.py BRINDLE
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lsp_client import LspClient  # noqa: E402

BRINDLE = None

SAMPLE = (
    "#include <cstdio>\n"
    "\n"
    "// The 😀 parser was writen long ago, and this comment line is much longer than the width of forty.\n"
    "// Its second line is short.\n"
    "int main() {  // a recieved value\n"
    "  // The values were added by the 🎉 loader, which is teh fastest one we have.\n"
    "  return 0;\n"
    "}\n"
)


def utf16_length(text):
    return sum(2 if ord(c) > 0xFFFF else 1 for c in text)


def offset_of(text, position, encoding="utf-16"):
    """The index into a Python string of a protocol position."""
    lines = text.split("\n")
    start = sum(len(line) + 1 for line in lines[:position["line"]])
    line = lines[position["line"]] if position["line"] < len(lines) else ""
    units = 0
    for i, c in enumerate(line):
        if units >= position["character"]:
            return start + i
        units += (2 if ord(c) > 0xFFFF else 1) if encoding == "utf-16" else len(c.encode())
    return start + len(line)


def applied(text, edits, encoding="utf-16"):
    spans = [(offset_of(text, e["range"]["start"], encoding), offset_of(text, e["range"]["end"], encoding),
              e["newText"]) for e in edits]
    for begin, end, new in sorted(spans, reverse=True):
        text = text[:begin] + new + text[end:]
    return text


class ServerTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        self.env = dict(os.environ)
        for name, sub in (("XDG_CONFIG_HOME", "config"), ("XDG_CACHE_HOME", "cache"),
                          ("ENCHANT_CONFIG_DIR", "enchant")):
            os.makedirs(os.path.join(self.root, sub))
            self.env[name] = os.path.join(self.root, sub)
        self.project = os.path.join(self.root, "project")
        os.makedirs(self.project)
        self.clients = []

    def tearDown(self):
        for client in self.clients:
            if client.process.poll() is None:
                client.process.kill()
                client.process.wait()
            client.process.stdout.close()
            client.process.stdin.close()
            client.process.stderr.close()
        self.folder.cleanup()

    def start(self, **initialize):
        client = LspClient(BRINDLE, self.project, self.env)
        self.clients.append(client)
        self.init_result = client.initialize(**initialize)
        return client

    def write(self, name, text):
        path = os.path.join(self.project, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path, "file://" + path

    def brindle(self, *args, stdin=None):
        done = subprocess.run([BRINDLE, *args], cwd=self.project, env=self.env, input=stdin,
                              capture_output=True, text=True, check=False)
        self.assertIn(done.returncode, (0, 1), done.stderr)
        return done.stdout

    def cli_findings(self, path, text, encoding="utf-16"):
        """(line, column in the encoding, kind, text) of spell --check and grammar --check."""
        lines = text.split("\n")
        found = set()
        for command in ("spell", "grammar"):
            for row in self.brindle(command, "--check", path).splitlines():
                m = re.match(r'.*:(\d+):(\d+): ([a-z ]+): "(.*)"$', row)
                self.assertTrue(m, row)
                line, column = int(m.group(1)) - 1, int(m.group(2)) - 1
                before = lines[line][:column]
                units = utf16_length(before) if encoding == "utf-16" else len(before.encode())
                found.add((line, units, m.group(3), m.group(4)))
        return found

    @staticmethod
    def server_findings(diagnostics):
        found = set()
        for d in diagnostics:
            text = re.match(r'[a-z ]+: "(.*)"$', d["message"]).group(1)
            found.add((d["range"]["start"]["line"], d["range"]["start"]["character"], d["code"], text))
        return found

    def open(self, client, uri, text, version=1):
        client.notify("textDocument/didOpen", {"textDocument": {"uri": uri, "languageId": "cpp",
                                                                "version": version, "text": text}})

    def code_actions(self, client, uri, first, last, diagnostics=()):
        return client.request("textDocument/codeAction", {
            "textDocument": {"uri": uri},
            "range": {"start": {"line": first, "character": 0}, "end": {"line": last, "character": 0}},
            "context": {"diagnostics": list(diagnostics)}})["result"]


class Diagnostics(ServerTest):
    def test_findings_are_those_of_the_check_commands(self):
        path, uri = self.write("a.cpp", SAMPLE)
        client = self.start()
        self.assertEqual(self.init_result["capabilities"]["positionEncoding"], "utf-16")
        self.open(client, uri, SAMPLE)
        published = client.diagnostics(uri)
        self.assertEqual(published["version"], 1)
        expected = self.cli_findings(path, SAMPLE)
        self.assertTrue(any(kind == "spelling" for _, _, kind, _ in expected))
        self.assertTrue(any(kind == "passive voice" for _, _, kind, _ in expected))
        self.assertEqual(self.server_findings(published["diagnostics"]), expected)
        # The range covers the word itself, in UTF-16 units after the emoji.
        writen = [d for d in published["diagnostics"] if d["message"] == 'spelling: "writen"'][0]
        line = SAMPLE.split("\n")[2]
        start = utf16_length(line[:line.index("writen")])
        self.assertEqual(writen["range"], {"start": {"line": 2, "character": start},
                                           "end": {"line": 2, "character": start + 6}})
        self.assertEqual(writen["severity"], 3)
        self.assertEqual(client.close(), 0)

    def test_marker_lines_inside_strings_are_not_comments_and_block_comments_are(self):
        text = ('auto s = R"(\n// Thsi raw line was added\n)";\n'
                "/*\n// Thsi block line was added\n*/\n// Thsi real line was added\n")
        path, uri = self.write("b.cpp", text)
        client = self.start()
        self.open(client, uri, text)
        found = self.server_findings(client.diagnostics(uri)["diagnostics"])
        self.assertEqual(found, {(4, 3, "spelling", "Thsi"), (4, 19, "passive voice", "was added"),
                                 (6, 3, "spelling", "Thsi"), (6, 18, "passive voice", "was added")})
        self.assertEqual(found, self.cli_findings(path, text))
        self.assertEqual(client.close(), 0)

    def test_incremental_changes_in_either_position_encoding(self):
        # Each case: the changes as (line, first, last character, new text), in
        # UTF-16 units or UTF-8 bytes, and the text they must give.
        start = "// 😀 alpha 𝄞 betta\n// gamma é delta\n"
        cases = [
            ("utf-16", [(0, 6, 11, "zeta"), (1, 9, 10, "ë")],
             "// 😀 zeta 𝄞 betta\n// gamma ë delta\n"),
            ("utf-16", [(0, 15, 20, "wurd"), (0, 3, 6, "")],
             "// alpha 𝄞 wurd\n// gamma é delta\n"),
            ("utf-8", [(0, 8, 13, "zeta"), (1, 9, 11, "ë")],
             "// 😀 zeta 𝄞 betta\n// gamma ë delta\n"),
            ("utf-8", [(1, 0, 0, "// mispelt\n")],
             "// 😀 alpha 𝄞 betta\n// mispelt\n// gamma é delta\n"),
        ]
        for encoding, changes, expected in cases:
            with self.subTest(encoding=encoding, changes=changes):
                path, uri = self.write("b.cpp", expected)
                client = self.start(capabilities={"general": {"positionEncodings": [encoding]}})
                self.assertEqual(self.init_result["capabilities"]["positionEncoding"], encoding)
                self.open(client, uri, start)
                client.diagnostics(uri)
                for version, (line, first, last, new) in enumerate(changes, start=2):
                    client.notify("textDocument/didChange", {
                        "textDocument": {"uri": uri, "version": version},
                        "contentChanges": [{"range": {"start": {"line": line, "character": first},
                                                      "end": {"line": line, "character": last}},
                                            "text": new}]})
                published = client.diagnostics(uri)
                self.assertEqual(published["version"], len(changes) + 1)
                self.assertEqual(self.server_findings(published["diagnostics"]),
                                 self.cli_findings(path, expected, encoding))
                # Unwrapping the first paragraph shows the text the server holds.
                actions = self.code_actions(client, uri, 0, 0)
                unwrap = [a for a in actions if a["title"] == "Unwrap comment paragraph"][0]
                self.assertEqual(applied(expected, unwrap["edit"]["changes"][uri], encoding),
                                 self.brindle("unwrap", "--lines", "1:1", path))
                client.close()

    def test_only_the_newest_version_is_published(self):
        path, uri = self.write("c.cpp", SAMPLE)
        client = self.start()
        # The open and two changes arrive together: only the last text is
        # checked.
        client.write(b"".join(LspClient.frame(m) for m in [
            {"jsonrpc": "2.0", "method": "textDocument/didOpen",
             "params": {"textDocument": {"uri": uri, "languageId": "cpp", "version": 1, "text": SAMPLE}}},
            {"jsonrpc": "2.0", "method": "textDocument/didChange",
             "params": {"textDocument": {"uri": uri, "version": 2},
                        "contentChanges": [{"text": "// one wrongg word\n"}]}},
            {"jsonrpc": "2.0", "method": "textDocument/didChange",
             "params": {"textDocument": {"uri": uri, "version": 3},
                        "contentChanges": [{"text": "// anothr wrong word\n"}]}},
        ]))
        newest = client.wait_for(lambda m: m.get("method") == "textDocument/publishDiagnostics"
                                 and m["params"].get("version") == 3, timeout=60)
        # Publishing goes in order: anything for the older versions came first.
        older = [m for m in client.inbox if m.get("method") == "textDocument/publishDiagnostics"]
        self.assertEqual([m["params"]["version"] for m in older], [])
        self.assertEqual([d["message"] for d in newest["params"]["diagnostics"]], ['spelling: "anothr"'])

    def test_severity_is_configurable(self):
        path, uri = self.write("d.cpp", "// a wrongg word\n")
        client = self.start(options={"severity": "hint"})
        self.open(client, uri, "// a wrongg word\n")
        self.assertEqual(client.diagnostics(uri)["diagnostics"][0]["severity"], 4)
        client.notify("workspace/didChangeConfiguration", {"settings": {"brindle": {"severity": "information"}}})
        self.assertEqual(client.diagnostics(uri)["diagnostics"][0]["severity"], 3)

    def test_grammar_rules_are_configurable(self):
        text = "// It was added to the the list.\n// We have changed it.\n"
        path, uri = self.write("g.cpp", text)

        def kinds(diagnostics):
            return sorted(d["message"] for d in diagnostics["diagnostics"])

        client = self.start(options={"rules": ["perfect", "repeated"]})
        self.open(client, uri, text)
        self.assertEqual(kinds(client.diagnostics(uri)),
                         ['perfect tense: "have changed"', 'repeated word: "the the"'])
        client.notify("workspace/didChangeConfiguration", {"settings": {"brindle": {"rules": "passive"}}})
        self.assertEqual(kinds(client.diagnostics(uri)), ['passive voice: "was added"'])
        client.notify("workspace/didChangeConfiguration", {"settings": {"rules": []}})
        self.assertEqual(kinds(client.diagnostics(uri)), [])


class CodeActions(ServerTest):
    def test_reflow_actions_give_what_the_commands_give(self):
        path, uri = self.write("a.cpp", SAMPLE)
        client = self.start(options={"width": 40})
        self.open(client, uri, SAMPLE)
        client.diagnostics(uri)
        # (title, lines asked for, the brindle command that must give the same)
        cases = [
            ("Wrap comment paragraph", (2, 2), ["wrap", "--fill", "--width", "40", "--lines", "3:3"]),
            ("Wrap comment paragraph", (5, 6), ["wrap", "--fill", "--width", "40", "--lines", "6:6"]),
            ("Unwrap comment paragraph", (2, 3), ["unwrap", "--lines", "3:3"]),
            ("Wrap comments in file", (0, 0), ["wrap", "--fill", "--width", "40"]),
        ]
        for title, (first, last), command in cases:
            with self.subTest(title=title, lines=(first, last)):
                actions = self.code_actions(client, uri, first, last)
                chosen = [a for a in actions if a["title"] == title]
                expected = self.brindle(*command, path)
                if expected == SAMPLE:
                    self.assertEqual(chosen, [])
                    continue
                self.assertEqual(len(chosen), 1)
                self.assertEqual(applied(SAMPLE, chosen[0]["edit"]["changes"][uri]), expected)
        client.close()

    def test_range_formatting_reflows_the_comments_in_the_range(self):
        path, uri = self.write("a.cpp", SAMPLE)
        client = self.start(options={"width": 50})
        self.assertTrue(self.init_result["capabilities"]["documentRangeFormattingProvider"])
        self.assertNotIn("documentFormattingProvider", self.init_result["capabilities"])
        self.open(client, uri, SAMPLE)
        for first, last in [(0, 1), (2, 3), (0, 7)]:
            with self.subTest(lines=(first, last)):
                edits = client.request("textDocument/rangeFormatting", {
                    "textDocument": {"uri": uri},
                    "range": {"start": {"line": first, "character": 0}, "end": {"line": last, "character": 3}},
                    "options": {"tabSize": 4, "insertSpaces": True}})["result"]
                expected = self.brindle("wrap", "--fill", "--width", "50", "--lines", f"{first + 1}:{last + 1}",
                                        path)
                self.assertEqual(applied(SAMPLE, edits), expected)

    def test_width_follows_settings_then_editorconfig_then_the_shared_setting(self):
        text = "// " + " ".join(["word"] * 30) + "\n"
        path, uri = self.write("w.cpp", text)
        client = self.start()
        self.open(client, uri, text)

        def assert_wrapped_at(width):
            actions = self.code_actions(client, uri, 0, 0)
            wrap = [a for a in actions if a["title"] == "Wrap comment paragraph"][0]
            widest = max(len(line) for line in applied(text, wrap["edit"]["changes"][uri]).splitlines())
            # Words of four letters and a space: the widest line is within five of the width.
            self.assertTrue(width - 5 < widest <= width, (width, widest))

        self.brindle("config", "max-comment-length", "50")
        assert_wrapped_at(50)
        # Changed by another program while the server runs.
        self.brindle("config", "max-comment-length", "30")
        assert_wrapped_at(30)
        with open(os.path.join(self.project, ".editorconfig"), "w") as f:
            f.write("root = true\n[*]\nmax_line_length = 60\n")
        assert_wrapped_at(60)
        client.notify("workspace/didChangeConfiguration", {"settings": {"width": 20}})
        assert_wrapped_at(20)

    def test_spelling_fixes_and_adding_to_project_words(self):
        text = "// The recieved value stays.\n// Another line with recieved.\n"
        path, uri = self.write("s.cpp", text)
        client = self.start()
        self.open(client, uri, text)
        diagnostics = client.diagnostics(uri)["diagnostics"]
        self.assertEqual(len(diagnostics), 2)
        actions = self.code_actions(client, uri, 0, 0, diagnostics[:1])
        fixes = [a for a in actions if a["title"].startswith("Change to")]
        self.assertTrue(1 <= len(fixes) <= 5)
        self.assertIn('Change to "received"', [a["title"] for a in fixes])
        received = [a for a in fixes if a["title"] == 'Change to "received"'][0]
        self.assertEqual(applied(text, received["edit"]["changes"][uri]).split("\n")[0],
                         "// The received value stays.")
        add = [a for a in actions if a["title"] == 'Add "recieved" to project words'][0]
        self.assertIsNone(client.request("workspace/executeCommand", add["command"])["result"])
        with open(os.path.join(self.project, ".brindle-words")) as f:
            self.assertIn("recieved", f.read().split())
        self.assertEqual(client.diagnostics(uri)["diagnostics"], [])
        self.assertEqual(self.cli_findings(path, text), set())


class BadInput(ServerTest):
    def test_malformed_messages_get_errors_and_the_server_goes_on(self):
        client = self.start()
        # (raw bytes, the error code expected with id null; None: no answer)
        cases = [
            (LspClient.frame(b"{not json"), -32700),
            (LspClient.frame(b"[1, 2]"), -32600),
            (LspClient.frame(b'{"jsonrpc": "2.0", "id": {"a": 1}, "method": "x"}'), -32600),
            (b"Content-Type: nothing\r\n\r\n", -32700),
            (b"Content-Length: twelve\r\n\r\n", -32700),
            (LspClient.frame({"jsonrpc": "2.0", "method": "brindle/noSuchNotification", "params": {}}), None),
            (LspClient.frame({"jsonrpc": "2.0", "method": "$/cancelRequest", "params": {"id": 9}}), None),
        ]
        for raw, code in cases:
            with self.subTest(raw=raw):
                client.write(raw)
                if code is None:
                    self.assertEqual(client.sent_before_next_answer(), [])
                else:
                    error = client.wait_for(lambda m: "error" in m)
                    self.assertIsNone(error["id"])
                    self.assertEqual(error["error"]["code"], code)
        unknown = client.request("textDocument/hover", {"textDocument": {"uri": "file:///x.cpp"},
                                                        "position": {"line": 0, "character": 0}})
        self.assertEqual(unknown["error"]["code"], -32601)
        bad_params = client.request("textDocument/rangeFormatting", {"textDocument": 3})
        self.assertEqual(bad_params["error"]["code"], -32602)
        self.assertEqual(client.close(), 0)

    def test_messages_nested_too_deep_get_an_error_even_before_initialize(self):
        client = LspClient(BRINDLE, self.project, self.env)
        self.clients.append(client)
        deep = b"[" * 100000 + b"]" * 100000
        for method in (b"initialize", b"textDocument/codeAction"):
            client.write(LspClient.frame(b'{"jsonrpc":"2.0","id":1,"method":"' + method + b'","params":' + deep + b"}"))
            error = client.wait_for(lambda m: "error" in m)
            self.assertIsNone(error["id"])
            self.assertEqual(error["error"]["code"], -32600)
        client.initialize()
        self.assertEqual(client.close(), 0)

    def test_bad_documents_get_a_diagnostic_and_others_are_still_served(self):
        client = self.start()
        good_path, good = self.write("good.cpp", "// a wrongg word\n")
        body = json.dumps({"jsonrpc": "2.0", "method": "textDocument/didOpen",
                           "params": {"textDocument": {"uri": "file:///bad.cpp", "languageId": "cpp",
                                                       "version": 1, "text": "// caf\udce9 ok\n"}}},
                          ensure_ascii=False).encode("utf-8", "surrogateescape")
        client.write(LspClient.frame(body))
        bad = client.diagnostics("file:///bad.cpp")["diagnostics"]
        self.assertEqual(len(bad), 1)
        self.assertIn("not UTF-8", bad[0]["message"])
        failed = client.request("textDocument/rangeFormatting", {
            "textDocument": {"uri": "file:///bad.cpp"},
            "range": {"start": {"line": 0, "character": 0}, "end": {"line": 0, "character": 5}},
            "options": {"tabSize": 4, "insertSpaces": True}})
        self.assertEqual(failed["error"]["code"], -32803)
        self.open(client, "file:///nul.cpp", "// a\u0000b\n")
        self.assertIn("NUL", client.diagnostics("file:///nul.cpp")["diagnostics"][0]["message"])
        huge = "// " + "wordy " * 20 + "\n"
        huge = huge * (100 * 1024 * 1024 // len(huge))
        self.open(client, "file:///huge.cpp", huge)
        self.assertIn("not checked", client.diagnostics("file:///huge.cpp", timeout=120)["diagnostics"][0]["message"])
        self.open(client, good, "// a wrongg word\n")
        self.assertEqual(len(client.diagnostics(good)["diagnostics"]), 1)
        self.assertEqual(client.close(), 0)


class Lifecycle(ServerTest):
    def test_exit_status_and_requests_around_shutdown(self):
        cases = [("shutdown then exit", True, 0), ("exit without shutdown", False, 1)]
        for name, shut_down, status in cases:
            with self.subTest(name):
                client = LspClient(BRINDLE, self.project, self.env)
                self.clients.append(client)
                early = client.request("textDocument/codeAction", {})
                self.assertEqual(early["error"]["code"], -32002)
                client.initialize()
                if shut_down:
                    self.assertIsNone(client.request("shutdown")["result"])
                    late = client.request("textDocument/codeAction", {})
                    self.assertEqual(late["error"]["code"], -32600)
                client.notify("exit", None)
                self.assertEqual(client.process.wait(timeout=30), status)

    def test_standard_output_holds_only_protocol_messages(self):
        path, uri = self.write("a.cpp", SAMPLE)
        client = self.start()
        self.open(client, uri, SAMPLE)
        client.diagnostics(uri)
        actions = self.code_actions(client, uri, 2, 2)
        add = {"command": "brindle.addWord", "arguments": [uri, "writen"]}
        client.request("workspace/executeCommand", add)
        client.close()
        # Whatever was left unread must still be framed messages.
        rest = client.buffer + client.process.stdout.read()
        while rest:
            match = re.match(rb"Content-Length: (\d+)\r\n\r\n", rest)
            self.assertTrue(match, rest[:200])
            body = rest[match.end():match.end() + int(match.group(1))]
            json.loads(body)
            rest = rest[match.end() + len(body):]
        self.assertTrue(actions)
        self.assertIn(b"brindle lsp:", client.process.stderr.read())


if __name__ == "__main__":
    BRINDLE = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
