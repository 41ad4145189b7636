#!/bin/sh
# Runs brindle over real Go, C++ and Rust code from Debian packages and counts
# the damage: code changed, comment words changed, output that changes again,
# fitting comments rewritten, fenced code touched, lines left too long.
#
#   scripts/corpus-check.sh [--full] [--width N]... [OPTION...]
#
# Without --full a fixed sample of each corpus is used (about a minute).
# With --syntaxes (first) the check covers block and doc comments, "#"
# comments, docstrings and "--" markers of C headers, Java, TypeScript,
# Python, shell, CMake, Perl, Ruby, YAML, TOML, SQL and Lua instead, and
# also counts reach: see 'scripts/corpus/syntax_corpus.py --help'.
# The brindle binary is $BRINDLE, else build/cli/commands/brindle; see
# 'scripts/corpus/corpus_check.py --help' for the other options (--json,
# --gate, --examples, --corpus). Exit status 1 when a gated count is not 0.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
if [ "${1:-}" = "--syntaxes" ]; then
  shift
  "$here/corpus/install-corpus.sh" --syntaxes
  exec /usr/bin/python3 "$here/corpus/syntax_corpus.py" "$@"
fi
"$here/corpus/install-corpus.sh"
exec /usr/bin/python3 "$here/corpus/corpus_check.py" "$@"
