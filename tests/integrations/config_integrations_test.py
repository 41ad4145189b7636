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

import yaml

BRINDLE = os.path.abspath(sys.argv[1])
INTEGRATIONS = os.path.abspath(sys.argv[2])
del sys.argv[1:3]

LONG = ("// Brindlewort re-flows line comments like this one, which was typed as "
        "one very long line and is far wider than anyone wants to read.")
SOURCE = "int main() {\n  " + LONG + "\n  return 0;\n}\n// The value is written by the caller.\n"


def brindle(*args, stdin=None, cwd=None):
    return subprocess.run([BRINDLE, *args], input=stdin, capture_output=True,
                          text=True, cwd=cwd, check=False)


class Workspace(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir)
        os.environ["XDG_CONFIG_HOME"] = os.path.join(self.dir, "config")
        os.environ["HOME"] = self.dir
        os.environ["PATH"] = os.path.dirname(BRINDLE) + os.pathsep + os.environ["PATH"]
        self.file = os.path.join(self.dir, "main.cpp")
        with open(self.file, "w", encoding="utf-8") as f:
            f.write(SOURCE)

    def read(self):
        with open(self.file, encoding="utf-8") as f:
            return f.read()


class KateTools(Workspace):
    OUTPUT_MODES = {"Ignore", "InsertAtCursor", "ReplaceSelectedText", "ReplaceCurrentDocument",
                    "AppendToCurrentDocument", "InsertInNewDocument", "CopyToClipboard",
                    "DisplayInPane"}

    def tools(self):
        folder = os.path.join(INTEGRATIONS, "kate")
        for name in sorted(os.listdir(folder)):
            if name.endswith(".ini"):
                parser = configparser.ConfigParser(interpolation=None)
                parser.optionxform = str
                parser.read(os.path.join(folder, name), encoding="utf-8")
                yield name, parser["General"]

    def test_every_tool_is_complete_and_unique(self):
        names, commands = set(), set()
        for file, tool in self.tools():
            with self.subTest(file):
                for key in ("name", "executable", "arguments", "input", "output", "cmdname",
                            "actionName", "category", "save"):
                    self.assertTrue(tool.get(key), key)
                self.assertEqual(tool["executable"], "brindle")
                self.assertIn(tool["output"], self.OUTPUT_MODES)
                self.assertEqual(tool["save"], "None", "a filter must not save the file")
                self.assertNotIn(tool["name"], names)
                self.assertNotIn(tool["cmdname"], commands)
                names.add(tool["name"])
                commands.add(tool["cmdname"])
        self.assertGreaterEqual(len(names), 4)

    def test_each_tool_runs_brindle_as_a_filter(self):
        wrapped = brindle("wrap", stdin=SOURCE).stdout
        for file, tool in self.tools():
            with self.subTest(file):
                arguments = shlex.split(tool["arguments"])
                # The subcommand and its options exist.
                self.assertEqual(brindle(*arguments, "--help").returncode, 0)
                if arguments[0] in ("lint", "spell"):
                    continue  # need the helper service or a dictionary: covered elsewhere
                document = wrapped if arguments[0] == "unwrap" else SOURCE
                # A selection of whole lines: all but the first.
                selection = document.split("\n", 1)[1]
                text = {"%{Document:Selection:Text}": selection,
                        "%{Document:Text}": document}[tool["input"]]
                result = brindle(*arguments, stdin=text, cwd=self.dir)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertNotEqual(result.stdout, text, "the tool changed nothing")
                self.assertEqual(result.stdout, brindle(arguments[0], stdin=text).stdout)


class VSCodeTasks(Workspace):
    def tasks(self):
        with open(os.path.join(INTEGRATIONS, "vscode", "tasks.json"), encoding="utf-8") as f:
            document = json.load(f)  # strict JSON: no comments, no trailing commas
        self.assertEqual(document["version"], "2.0.0")
        return document["tasks"]

    def expand(self, value):
        return value.replace("${file}", self.file).replace("${workspaceFolder}", self.dir)

    def run_task(self, task):
        if task["type"] == "process":
            command = [task["command"], *[self.expand(a) for a in task.get("args", [])]]
            return subprocess.run(command, capture_output=True, text=True, cwd=self.dir,
                                  check=False)
        return subprocess.run(["sh", "-c", self.expand(task["command"])], capture_output=True,
                              text=True, cwd=self.dir, check=False)

    def test_labels_are_unique_and_every_task_calls_brindle(self):
        tasks = self.tasks()
        labels = [t["label"] for t in tasks]
        self.assertEqual(len(labels), len(set(labels)))
        for task in tasks:
            with self.subTest(task["label"]):
                self.assertIn(task["type"], ("process", "shell"))
                self.assertIn("brindle", task["command"])

    def test_in_place_tasks_rewrite_the_file(self):
        expected = {"wrap": brindle("wrap", stdin=SOURCE).stdout}
        expected["unwrap"] = SOURCE
        for task in self.tasks():
            args = task.get("args", [])
            if "--in-place" not in args or args[0] not in expected:
                continue
            with self.subTest(task["label"]):
                with open(self.file, "w", encoding="utf-8") as f:
                    f.write(expected["wrap"] if args[0] == "unwrap" else SOURCE)
                result = self.run_task(task)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(self.read(), expected[args[0]])

    def test_problem_matcher_reads_the_check_output(self):
        task = next(t for t in self.tasks() if t.get("args", [None])[0] == "grammar")
        pattern = task["problemMatcher"]["pattern"]
        result = self.run_task(task)
        self.assertEqual(result.returncode, 1, result.stderr)
        findings = [re.match(pattern["regexp"], line) for line in result.stdout.splitlines()]
        self.assertTrue(findings and all(findings), result.stdout)
        for found in findings:
            self.assertEqual(found.group(pattern["file"]), self.file)
            self.assertEqual(found.group(pattern["code"]), "passive voice")
        # "was typed" in the long comment, "is written" on the last line.
        self.assertEqual([(f.group(pattern["line"]), f.group(pattern["column"])) for f in findings],
                         [("2", "62"), ("5", "14")])

    def test_workspace_check_lists_the_file_to_wrap(self):
        task = next(t for t in self.tasks() if t["type"] == "shell")
        subprocess.run(["git", "init", "-q", self.dir], check=True)
        subprocess.run(["git", "-C", self.dir, "add", "main.cpp"], check=True)
        result = self.run_task(task)
        self.assertNotEqual(result.returncode, 0, "a file needs wrapping, so the task fails")
        self.assertIn("main.cpp", result.stdout)


class PreCommitHook(Workspace):
    def hook(self):
        with open(os.path.join(INTEGRATIONS, "pre-commit", "pre-commit-config.yaml"),
                  encoding="utf-8") as f:
            config = yaml.safe_load(f)
        (repo,) = config["repos"]
        self.assertEqual(repo["repo"], "local")
        (hook,) = repo["hooks"]
        return hook

    def test_hook_runs_wrap_check_on_source_files_only(self):
        hook = self.hook()
        self.assertEqual(hook["language"], "system")
        self.assertEqual(shlex.split(hook["entry"]), ["brindle", "wrap", "--check"])
        files = re.compile(hook["files"])
        for name, matched in [("main.cpp", True), ("src/a.swift", True), ("x.h", True),
                              ("README.md", False), ("setup.py", False), ("main.cpp.orig", False)]:
            self.assertEqual(bool(files.search(name)), matched, name)

    def test_hook_command_fails_until_the_file_is_wrapped(self):
        hook = self.hook()
        command = [*shlex.split(hook["entry"]), *hook.get("args", []), self.file]
        self.assertEqual(subprocess.run(command, capture_output=True, check=False).returncode, 1)
        self.assertEqual(brindle("wrap", "-i", "--width", "80", self.file).returncode, 0)
        self.assertEqual(subprocess.run(command, capture_output=True, check=False).returncode, 0)

    @unittest.skipUnless(shutil.which("pre-commit"), "pre-commit is not installed")
    def test_real_pre_commit_run(self):
        os.environ["PRE_COMMIT_HOME"] = os.path.join(self.dir, "cache")
        shutil.copy(os.path.join(INTEGRATIONS, "pre-commit", "pre-commit-config.yaml"),
                    os.path.join(self.dir, ".pre-commit-config.yaml"))
        git = ["git", "-C", self.dir, "-c", "user.name=t", "-c", "user.email=t@localhost"]
        subprocess.run(["git", "init", "-q", self.dir], check=True)
        subprocess.run([*git, "add", "."], check=True)

        def run():
            return subprocess.run(["pre-commit", "run", "--all-files"], cwd=self.dir,
                                  capture_output=True, text=True, check=False)

        failing = run()
        self.assertEqual(failing.returncode, 1, failing.stdout + failing.stderr)
        self.assertIn("main.cpp", failing.stdout)
        brindle("wrap", "-i", "--width", "80", self.file)
        subprocess.run([*git, "add", "."], check=True)
        passing = run()
        self.assertEqual(passing.returncode, 0, passing.stdout + passing.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
