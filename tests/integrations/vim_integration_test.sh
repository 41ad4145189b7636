#!/bin/sh
# Drives the Vim plugin headless in every Vim-like editor on the machine:
# :BrindleWrap on the whole file and on a range, gq through formatexpr, and
# a failing brindle that must leave the buffer untouched.
#   vim_integration_test.sh BRINDLE PLUGIN_DIR
. "$(dirname "$0")/editor_test_setup.sh"
plugin="$2"
editors=""
for editor in vim nvim; do
  command -v "$editor" >/dev/null 2>&1 && editors="$editors $editor"
done
[ -n "$editors" ] || { echo "no Vim or Neovim here; skipped"; exit 77; }

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
  check "$editor $name" "$file" "$expected"
}

for editor in $editors; do
  run "$editor" wrap-file "$work/wrapped.cpp" -c "BrindleWrap"
  run "$editor" wrap-range "$work/range-wrapped.cpp" -c "1,3BrindleWrap"
  run "$editor" unwrap-after-wrap "$work/original.cpp" -c "BrindleWrap" -c "BrindleUnwrap"
  run "$editor" gq "$work/wrapped.cpp" -c "normal! gggqG"
  run "$editor" failing-brindle "$work/original.cpp" -c "BrindleWrap --width nonsense"
done
[ "$failures" -eq 0 ]
