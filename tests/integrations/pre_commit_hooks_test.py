"""Runs the hooks of .pre-commit-hooks.yaml through `pre-commit try-repo`,
as a project that lists this repository in its .pre-commit-config.yaml
would, against the brindle of this build. The hooks use the installed
brindle (language: system), so no network is needed.

    pre_commit_hooks_test.py BRINDLE HOOKS_FILE

The hooks file is committed to a scratch repository of its own first, so
the test sees exactly the file in the source tree whatever state its git
checkout is in (try-repo reads the hooks from a commit).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import yaml

BRINDLE = os.path.abspath(sys.argv[1])
HOOKS_FILE = os.path.abspath(sys.argv[2])
del sys.argv[1:3]

LONG = ("// Brindlewort re-flows line comments like this one, which was typed as "
        "one very long line.\n")
MISSPELT = "// Thsi coment has two mistakes.\n"
PASSIVE = "// The value is written by the caller.\n"
# A script's # comments are checked and wrapped as // comments are.
SCRIPT = "# " + "a very long comment line in a script " * 4 + "\n"
# Markdown has no line comments: no hook may touch it.
NOTES = "# " + "a very long heading line in a text " * 4 + "\n"


def git(cwd, *args):
    subprocess.run(["git", "-c", "user.name=t", "-c", "user.email=t@localhost", "-c", "commit.gpgsign=false",
                    *args], cwd=cwd, check=True, capture_output=True)


class TryRepo(unittest.TestCase):
    def setUp(self):
        if shutil.which("pre-commit") is None:
            self.skipTest("pre-commit is not installed")
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir)
        self.env = dict(os.environ, HOME=self.dir, XDG_CONFIG_HOME=os.path.join(self.dir, "config"),
                        XDG_CACHE_HOME=os.path.join(self.dir, "cache"),
                        PRE_COMMIT_HOME=os.path.join(self.dir, "pre-commit"), LANG="C.UTF-8",
                        PATH=os.path.dirname(BRINDLE) + os.pathsep + os.environ["PATH"])
        self.env.pop("LC_ALL", None)
        self.hooks_repo = os.path.join(self.dir, "hooks")
        os.mkdir(self.hooks_repo)
        shutil.copy(HOOKS_FILE, os.path.join(self.hooks_repo, ".pre-commit-hooks.yaml"))
        git(self.hooks_repo, "init", "-q")
        git(self.hooks_repo, "add", ".")
        git(self.hooks_repo, "commit", "-q", "-m", "hooks")
        self.project = os.path.join(self.dir, "project")
        os.mkdir(self.project)
        git(self.project, "init", "-q")

    def write(self, files):
        for name, content in files.items():
            Path(self.project, name).write_text(content, encoding="utf-8")
        git(self.project, "add", ".")

    def try_repo(self, hook):
        result = subprocess.run(["pre-commit", "try-repo", self.hooks_repo, hook, "--all-files", "--color", "never"],
                                cwd=self.project, env=self.env, capture_output=True, text=True, check=False)
        return result.returncode, result.stdout + result.stderr

    def read(self, name):
        return Path(self.project, name).read_text(encoding="utf-8")

    def test_every_hook_runs_brindle_on_comment_languages_only(self):
        hooks = yaml.safe_load(Path(HOOKS_FILE).read_text(encoding="utf-8"))
        self.assertEqual({h["id"] for h in hooks},
                         {"brindle-wrap-check", "brindle-wrap", "brindle-spell-check", "brindle-grammar-check"})
        for hook in hooks:
            with self.subTest(hook["id"]):
                self.assertEqual(hook["language"], "system")
                self.assertTrue(hook["entry"].startswith("brindle "))
                self.assertIn("c++", hook["types_or"])
                self.assertIn("python", hook["types_or"])
                self.assertNotIn("markdown", hook["types_or"])

    def test_hooks_fail_on_what_they_check_and_name_the_fix(self):
        # The width comes from the project's .editorconfig, as brindle reads it.
        files = {".editorconfig": "root = true\n[*]\nmax_line_length = 40\n", "main.cpp": "int x;\n" + LONG,
                 "notes.py": SCRIPT, "notes.md": NOTES}
        cases = [
            # hook, extra file, what its output must say
            ("brindle-wrap-check", {}, ["main.cpp:2: wrap would re-flow this comment paragraph to 40 columns "
                                        "(.editorconfig)", "run: brindle wrap -i",
                                        "(width 40 columns from .editorconfig)"]),
            ("brindle-spell-check", {"spelling.go": MISSPELT}, ['"Thsi"', "brindle spell --add-word"]),
            ("brindle-grammar-check", {"grammar.rs": PASSIVE}, ['passive voice: "is written"']),
        ]
        for hook, extra, said in cases:
            with self.subTest(hook):
                self.write({**files, **extra})
                status, output = self.try_repo(hook)
                self.assertEqual(status, 1, output)
                for words in said:
                    self.assertIn(words, output)
                self.assertEqual(self.read("main.cpp"), "int x;\n" + LONG, "a checking hook changed a file")
                self.assertEqual(self.read("notes.py"), SCRIPT)
                self.assertEqual(self.read("notes.md"), NOTES)

    def test_fixing_hook_rewrites_then_passes_with_the_check(self):
        self.write({".editorconfig": "root = true\n[*]\nmax_line_length = 40\n", "main.cpp": "int x;\n" + LONG,
                    "notes.py": SCRIPT, "notes.md": NOTES})
        status, output = self.try_repo("brindle-wrap")
        self.assertEqual(status, 1, output)
        self.assertIn("files were modified by this hook", output)
        wrapped = self.read("main.cpp")
        self.assertTrue(all(len(line) <= 40 for line in wrapped.splitlines()), wrapped)
        script = self.read("notes.py")
        self.assertTrue(all(len(line) <= 40 and line.startswith("# ") for line in script.splitlines()), script)
        self.assertEqual(self.read("notes.md"), NOTES)
        git(self.project, "add", ".")
        for hook in ("brindle-wrap", "brindle-wrap-check"):
            with self.subTest(hook):
                status, output = self.try_repo(hook)
                self.assertEqual(status, 0, output)
        self.assertEqual(self.read("main.cpp"), wrapped)


if __name__ == "__main__":
    unittest.main(verbosity=2)
