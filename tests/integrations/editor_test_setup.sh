# Sourced by the editor tests with BRINDLE as $1: a private work folder
# holding original.cpp, wrapped.cpp (all wrapped at 40) and
# range-wrapped.cpp (only the first comment wrapped), and check().
set -eu
PATH="$(dirname "$1"):$PATH"
export PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" HOME="$work"

long='// Brindlewort re-flows line comments like this one, which was typed as one very long line.'
printf 'int main() {\n  %s\n  return 0;\n}\n%s\n' "$long" "$long" >"$work/original.cpp"
brindle wrap --width 40 "$work/original.cpp" >"$work/wrapped.cpp"
{ sed -n '1,2p' "$work/original.cpp" | brindle wrap --width 40; sed -n '3,5p' "$work/original.cpp"; } \
  >"$work/range-wrapped.cpp"

failures=0
# check NAME FILE EXPECTED: on a difference, shows it and the editor's log.
check() {
  if cmp -s "$2" "$3"; then
    echo "ok: $1"
  else
    echo "FAIL: $1"
    diff "$3" "$2" || true
    cat "$work/log"
    failures=$((failures + 1))
  fi
}
