#!/bin/sh
# Drives the Vim plugin headless in every Vim-like editor on the machine:
# :BrindleWrap on the whole file and on a range, gq through formatexpr, and
# a failing brindle that must leave the buffer untouched.
#   vim_integration_test.sh BRINDLE PLUGIN_DIR
set -eu
brindle="$1" plugin="$2"
PATH="$(dirname "$brindle"):$PATH"
export PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" HOME="$work"

long='// Brindlewort re-flows line comments like this one, which was typed as one very long line.'
printf 'int main() {\n  %s\n  return 0;\n}\n%s\n' "$long" "$long" >"$work/original.cpp"
brindle wrap --width 40 "$work/original.cpp" >"$work/wrapped.cpp"
# Only the first comment wrapped: what a range command must give.
{ sed -n '1,2p' "$work/original.cpp" | brindle wrap --width 40; sed -n '3,5p' "$work/original.cpp"; } \
  >"$work/range-wrapped.cpp"

editors=""
for editor in vim nvim; do
  command -v "$editor" >/dev/null 2>&1 && editors="$editors $editor"
done
if [ -z "$editors" ]; then
  echo "no Vim or Neovim here; skipped"
  exit 77
fi

failures=0
# run EDITOR NAME EXPECTED EX-COMMAND...: edits a copy of the original file.
run() {
  editor="$1" name="$2" expected="$3"
  shift 3
  file="$work/$editor-$name.cpp"
  cp "$work/original.cpp" "$file"
  set -- -c "set nocompatible" -c "filetype on" -c "let g:brindle_wrap_args = '--width 40'" \
    -c "source $plugin/plugin/brindle.vim" -c "edit! $file" "$@" -c "wq"
  if [ "$editor" = nvim ]; then
    nvim --headless -n -u NONE -i NONE "$@" >"$work/log" 2>&1 </dev/null || true
  else
    vim -N -n -u NONE -i NONE -es "$@" >"$work/log" 2>&1 </dev/null || true
  fi
  if cmp -s "$file" "$expected"; then
    echo "ok: $editor $name"
  else
    echo "FAIL: $editor $name"
    diff "$expected" "$file" || true
    cat "$work/log"
    failures=$((failures + 1))
  fi
}

for editor in $editors; do
  run "$editor" wrap-file "$work/wrapped.cpp" -c "BrindleWrap"
  run "$editor" wrap-range "$work/range-wrapped.cpp" -c "1,3BrindleWrap"
  run "$editor" unwrap-after-wrap "$work/original.cpp" -c "BrindleWrap" -c "BrindleUnwrap"
  run "$editor" gq "$work/wrapped.cpp" -c "normal! gggqG"
  # A usage error: brindle prints to stderr only, and the text stays.
  run "$editor" failing-brindle "$work/original.cpp" -c "BrindleWrap --width nonsense"
done
[ "$failures" -eq 0 ]
