#!/bin/sh
# Drives the Vim plugin headless in every Vim-like editor on the machine:
# the commands on the whole file and on a range, a failing brindle that must
# leave the buffer untouched, gq with and without 'textwidth' (then the
# .editorconfig, then the shared setting decides), gq left to the editor
# where the user has not opted in or the lines are not // comments, and
# :help brindle.
#   vim_integration_test.sh BRINDLE PLUGIN_DIR
. "$(dirname "$0")/editor_test_setup.sh"
plugin="$2"
editors=""
for editor in vim nvim; do
  command -v "$editor" >/dev/null 2>&1 && editors="$editors $editor"
done
[ -n "$editors" ] || { echo "no Vim or Neovim here; skipped"; exit 77; }

# The shared setting is 40 columns; a folder of its own has an
# .editorconfig that says 60.
brindle config max-comment-length 40 >/dev/null
mkdir "$work/editorconfig"
printf 'root = true\n[*]\nmax_line_length = 60\n' >"$work/editorconfig/.editorconfig"
brindle wrap --width 60 "$work/original.cpp" >"$work/wrapped-60.cpp"
# A line of code with a long comment after it, which brindle leaves alone.
printf 'int x = 1;  // %s\n' "a trailing comment that runs well past forty columns" >"$work/trailing.cpp"

# edit EDITOR FILE SETUP EX-COMMAND...: runs SETUP (settings, the plugin),
# opens FILE, runs the commands on it and writes it, headless.
edit() {
  editor="$1" file="$2" setup="$3"
  shift 3
  set -- -c "set nocompatible" -c "filetype on" -c "$setup" -c "edit! $file" "$@" -c "wq"
  if [ "$editor" = nvim ]; then
    nvim --headless -n -u NONE -i NONE "$@" >"$work/log" 2>&1 </dev/null || true
  else
    vim -N -n -u NONE -i NONE -es "$@" >"$work/log" 2>&1 </dev/null || true
  fi
}
load="set rtp^=$plugin | runtime plugin/brindle.vim"

# run EDITOR NAME ORIGINAL EXPECTED FOLDER SETTINGS EX-COMMAND...: edits a
# copy of ORIGINAL in FOLDER, with SETTINGS made before the plugin loads.
run() {
  editor="$1" name="$2" original="$3" expected="$4" folder="$5" settings="$6"
  shift 6
  file="$folder/$editor-$name.cpp"
  cp "$original" "$file"
  edit "$editor" "$file" "$settings | $load" "$@"
  check "$editor $name" "$file" "$expected"
}

gq="let g:brindle_gq = 1"
for editor in $editors; do
  # The commands.
  args="let g:brindle_wrap_args = '--width 40'"
  run "$editor" wrap-file "$work/original.cpp" "$work/wrapped.cpp" "$work" "$args" -c "BrindleWrap"
  run "$editor" wrap-range "$work/original.cpp" "$work/range-wrapped.cpp" "$work" "$args" -c "1,3BrindleWrap"
  run "$editor" unwrap-after-wrap "$work/original.cpp" "$work/original.cpp" "$work" "$args" \
    -c "BrindleWrap" -c "BrindleUnwrap"
  run "$editor" failing-brindle "$work/original.cpp" "$work/original.cpp" "$work" "$args" \
    -c "BrindleWrap --width nonsense"

  # gq: 'textwidth' first, then the file's .editorconfig, then the shared
  # setting. NAME|FOLDER|TEXTWIDTH|EXPECTED
  for case in "gq-textwidth|$work|60|$work/wrapped-60.cpp" \
              "gq-textwidth-over-editorconfig|$work/editorconfig|40|$work/wrapped.cpp" \
              "gq-editorconfig|$work/editorconfig|0|$work/wrapped-60.cpp" \
              "gq-shared-setting|$work|0|$work/wrapped.cpp"; do
    IFS='|' read -r name folder width expected <<CASE
$case
CASE
    run "$editor" "$name" "$work/original.cpp" "$expected" "$folder" "$gq | set tw=$width" -c "normal! gggqG"
  done

  # Where gq is not brindle's, the result is what the editor gives without
  # the plugin; each case makes sure that result differs from the input.
  # NAME|ORIGINAL|SETTINGS|KEYS
  for case in "opted-out|$work/original.cpp|let g:brindle_gq = 0|gggqG" \
              "code-line|$work/trailing.cpp|$gq|gqq"; do
    IFS='|' read -r name original settings keys <<CASE
$case
CASE
    stock="$work/$editor-$name-stock.cpp"
    cp "$original" "$stock"
    edit "$editor" "$stock" "set tw=40" -c "normal! $keys"
    if cmp -s "$stock" "$original"; then
      echo "FAIL: $editor $name: the editor's own gq changed nothing, so the case shows nothing"
      failures=$((failures + 1))
    fi
    run "$editor" "$name" "$original" "$stock" "$work" "$settings | set tw=40" -c "normal! $keys"
  done

  # The tags shipped in doc/ are what :helptags makes of the help file, and
  # :help brindle finds the plugin's page with them.
  cp -R "$plugin" "$work/$editor-plugin"
  rm -f "$work/$editor-plugin/doc/tags"
  edit "$editor" "$work/$editor-scratch.txt" "helptags $work/$editor-plugin/doc"
  check "$editor helptags" "$work/$editor-plugin/doc/tags" "$plugin/doc/tags"
  printf 'brindle.txt\n*brindle*\n' >"$work/help-expected.txt"
  edit "$editor" "$work/$editor-scratch.txt" "set rtp^=$plugin" -c "help brindle" \
    -c "call writefile([expand('%:t'), expand('<cWORD>')], '$work/$editor-help.txt')" -c "quit"
  check "$editor :help brindle" "$work/$editor-help.txt" "$work/help-expected.txt"
done
[ "$failures" -eq 0 ]
