"""Reads the Kate tools, the VS Code tasks and the pre-commit hook the way
their editors do, then runs the command each one would run, so a wrong
subcommand, option or placeholder shows up here rather than for a user.

    config_integrations_test.py BRINDLE INTEGRATIONS_DIR
"""

import configparser
import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import yaml

BRINDLE = os.path.abspath(sys.argv[1])
INTEGRATIONS = os.path.abspath(sys.argv[2])
del sys.argv[1:3]

LONG = ("// Brindlewort re-flows line comments like this one, which was typed as "
        "one very long line and is far wider than anyone wants to read.")
SOURCE = "int main() {\n  " + LONG + "\n  return 0;\n}\n// The value is written by the caller.\n"


def run(command, cwd=None, stdin=None):
    return subprocess.run(command, input=stdin, capture_output=True, text=True, cwd=cwd, check=False)


def brindle(*args, stdin=None, cwd=None):
    return run([BRINDLE, *args], cwd, stdin)


class Workspace(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir)
        os.environ.update(XDG_CONFIG_HOME=os.path.join(self.dir, "config"), HOME=self.dir,
                          PATH=os.path.dirname(BRINDLE) + os.pathsep + os.environ["PATH"])
        self.file = os.path.join(self.dir, "main.cpp")
        Path(self.file).write_text(SOURCE, encoding="utf-8")


class KateTools(Workspace):
    def test_each_tool_is_complete_and_runs_brindle_as_a_filter(self):
        wrapped = brindle("wrap", stdin=SOURCE).stdout
        folder = os.path.join(INTEGRATIONS, "kate")
        names = set()
        for file in sorted(f for f in os.listdir(folder) if f.endswith(".ini")):
            with self.subTest(file):
                parser = configparser.ConfigParser(interpolation=None)
                parser.optionxform = str
                parser.read(os.path.join(folder, file), encoding="utf-8")
                tool = parser["General"]
                keys = ("name", "arguments", "input", "output", "cmdname", "actionName", "category")
                self.assertTrue(all(tool.get(key) for key in keys), dict(tool))
                self.assertEqual((tool["executable"], tool["save"]), ("brindle", "None"))
                self.assertIn(tool["output"], {"Ignore", "InsertAtCursor", "ReplaceSelectedText", "ReplaceCurrentDocument",
                                               "AppendToCurrentDocument", "InsertInNewDocument", "CopyToClipboard",
                                               "DisplayInPane"})
                self.assertNotIn(tool["name"], names)
                names.add(tool["name"])
                arguments = shlex.split(tool["arguments"])
                self.assertEqual(brindle(*arguments, "--help").returncode, 0)
                if arguments[0] in ("lint", "spell"):
                    continue  # need the helper service or a dictionary: covered elsewhere
                document = wrapped if arguments[0] == "unwrap" else SOURCE
                text = {"%{Document:Selection:Text}": document.split("\n", 1)[1],
                        "%{Document:Text}": document}[tool["input"]]
                result = brindle(*arguments, stdin=text, cwd=self.dir)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertNotEqual(result.stdout, text, "the tool changed nothing")
                self.assertEqual(result.stdout, brindle(arguments[0], stdin=text).stdout)


class VSCodeTasks(Workspace):
    def setUp(self):
        super().setUp()
        # Strict JSON: no comments, no trailing commas.
        document = json.loads(Path(INTEGRATIONS, "vscode", "tasks.json").read_text(encoding="utf-8"))
        self.assertEqual(document["version"], "2.0.0")
        self.tasks = document["tasks"]
        labels = [t["label"] for t in self.tasks]
        self.assertEqual(len(labels), len(set(labels)))
        for task in self.tasks:
            self.assertIn("brindle", task["command"], task["label"])

    def run_task(self, task):
        def expand(value):
            return value.replace("${file}", self.file).replace("${workspaceFolder}", self.dir)
        if task["type"] == "process":
            return run([task["command"], *map(expand, task.get("args", []))], self.dir)
        return run(["sh", "-c", expand(task["command"])], self.dir)

    def test_in_place_tasks_rewrite_the_file(self):
        expected = {"wrap": brindle("wrap", stdin=SOURCE).stdout, "unwrap": SOURCE}
        for task in self.tasks:
            args = task.get("args", [])
            if "--in-place" in args and args[0] in expected:
                with self.subTest(task["label"]):
                    Path(self.file).write_text(expected["wrap"] if args[0] == "unwrap" else SOURCE, encoding="utf-8")
                    result = self.run_task(task)
                    self.assertEqual(result.returncode, 0, result.stderr)
                    self.assertEqual(Path(self.file).read_text(encoding="utf-8"), expected[args[0]])

    def test_problem_matcher_reads_the_check_output(self):
        task = next(t for t in self.tasks if t.get("args", [None])[0] == "grammar")
        pattern = task["problemMatcher"]["pattern"]
        result = self.run_task(task)
        self.assertEqual(result.returncode, 1, result.stderr)
        findings = [re.match(pattern["regexp"], line) for line in result.stdout.splitlines()]
        self.assertTrue(findings and all(findings), result.stdout)
        # "was typed" in the long comment, "is written" on the last line.
        self.assertEqual([(f.group(pattern["file"]), f.group(pattern["line"]), f.group(pattern["column"]),
                           f.group(pattern["code"])) for f in findings],
                         [(self.file, "2", "62", "passive voice"), (self.file, "5", "14", "passive voice")])

    def test_workspace_check_lists_the_file_to_wrap(self):
        task = next(t for t in self.tasks if t["type"] == "shell")
        subprocess.run(["git", "init", "-q", self.dir], check=True)
        subprocess.run(["git", "-C", self.dir, "add", "main.cpp"], check=True)
        result = self.run_task(task)
        self.assertNotEqual(result.returncode, 0, "a file needs wrapping, so the task fails")
        # Each paragraph to wrap is a problem at its first line.
        pattern = task["problemMatcher"]["pattern"]
        findings = [re.match(pattern["regexp"], line) for line in result.stdout.splitlines()]
        self.assertTrue(findings and all(findings), result.stdout)
        self.assertEqual([(os.path.basename(f.group(pattern["file"])), f.group(pattern["line"])) for f in findings],
                         [("main.cpp", "2")])


class PreCommitHook(Workspace):
    def test_hook_checks_source_files_until_they_are_wrapped(self):
        config = os.path.join(INTEGRATIONS, "pre-commit", "pre-commit-config.yaml")
        (hook,) = yaml.safe_load(Path(config).read_text(encoding="utf-8"))["repos"][0]["hooks"]
        self.assertEqual(shlex.split(hook["entry"]), ["brindle", "wrap", "--check"])
        # The same hook as the repository offers, under the same id.
        offered = yaml.safe_load(Path(INTEGRATIONS, "..", ".pre-commit-hooks.yaml").read_text(encoding="utf-8"))
        (same,) = [h for h in offered if h["id"] == hook["id"]]
        self.assertEqual((hook["entry"], hook["types_or"]), (same["entry"], same["types_or"]))

        os.environ["PRE_COMMIT_HOME"] = os.path.join(self.dir, "cache")
        shutil.copy(config, os.path.join(self.dir, ".pre-commit-config.yaml"))
        git = ["git", "-C", self.dir, "-c", "user.name=t", "-c", "user.email=t@localhost"]
        subprocess.run(["git", "init", "-q", self.dir], check=True)
        subprocess.run([*git, "add", "."], check=True)
        failing = run(["pre-commit", "run", "--all-files"], self.dir)
        self.assertEqual(failing.returncode, 1, failing.stdout + failing.stderr)
        self.assertIn("main.cpp", failing.stdout)
        brindle("wrap", "-i", "--width", "80", self.file)
        subprocess.run([*git, "add", "."], check=True)
        passing = run(["pre-commit", "run", "--all-files"], self.dir)
        self.assertEqual(passing.returncode, 0, passing.stdout + passing.stderr)

    def test_grammar_hook_fails_only_for_the_kinds_in_its_args(self):
        offered = yaml.safe_load(Path(INTEGRATIONS, "..", ".pre-commit-hooks.yaml").read_text(encoding="utf-8"))
        (hook,) = [h for h in offered if h["id"] == "brindle-grammar-check"]
        os.environ["PRE_COMMIT_HOME"] = os.path.join(self.dir, "cache")
        git = ["git", "-C", self.dir, "-c", "user.name=t", "-c", "user.email=t@localhost"]
        subprocess.run(["git", "init", "-q", self.dir], check=True)
        cases = [
            # the hook's args (None: as offered), the file, whether it fails
            (None, "// It was added.\n", True),
            (None, "// Reads the the file.\n", True),
            (None, "// We have changed it.\n", False),
            (["--rules", "repeated"], "// It was added.\n", False),
            (["--rules", "repeated"], "// Reads the the file.\n", True),
            (["--rules", "perfect"], "// We have changed it.\n", True),
        ]
        for args, text, fails in cases:
            with self.subTest(args=args, text=text):
                local = {k: v for k, v in hook.items() if k != "minimum_pre_commit_version"}
                if args is not None:
                    local["args"] = args
                config = {"repos": [{"repo": "local", "hooks": [local]}]}
                Path(self.dir, ".pre-commit-config.yaml").write_text(yaml.safe_dump(config), encoding="utf-8")
                Path(self.file).write_text(text, encoding="utf-8")
                subprocess.run([*git, "add", "."], check=True)
                result = run(["pre-commit", "run", "--all-files"], self.dir)
                self.assertEqual(result.returncode, 1 if fails else 0, result.stdout + result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
