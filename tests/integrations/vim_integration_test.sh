#!/bin/sh
# Drives the Vim plugin headless in every Vim-like editor on the machine:
# the commands on the whole file and on a range, a failing brindle that must
# leave the buffer untouched, gq with and without 'textwidth' (then the
# .editorconfig, then the shared setting decides), gq left to the editor
# where the user has not opted in or the lines are not // comments, a
# blank line after the range and the file's last line kept, a range read
# in the whole buffer, findings in the quickfix and location lists, and
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
# A paragraph with a blank line after it, inside the file and at its end:
# a range that takes in the blank line must keep it.
printf '// a b c\n\nx := 1\n' >"$work/blank-inside.go"
printf '// a b c\n\n' >"$work/blank-after.go"
printf 'x := 1\n// one two three four five six seven eight nine ten eleven\n' >"$work/last-line.go"
brindle wrap --width 40 --stdin-filename x.go <"$work/last-line.go" >"$work/last-line-wrapped.go"
# A range inside a raw string: only the whole buffer tells the lexer so.
printf 'var s = `\n// one two three four five six seven eight nine ten eleven\n`\n' >"$work/raw-string.go"
# Passive voice on two lines, for the quickfix and location lists; the
# columns are Vim's, in bytes.
printf 'x := 1\n// The café is written.\ny := 2\n// The tests were added.\n' >"$work/passive.go"
printf '2:14: passive voice: "is written"\n4:14: passive voice: "were added"\n' >"$work/passive-list.txt"
printf '4:14: passive voice: "were added"\n' >"$work/passive-list-4.txt"

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

# run_go EDITOR NAME ORIGINAL EXPECTED SETTINGS EX-COMMAND...: as run, for
# a Go file in the work folder.
run_go() {
  editor="$1" name="$2" original="$3" expected="$4" settings="$5"
  shift 5
  file="$work/$editor-$name.go"
  cp "$original" "$file"
  edit "$editor" "$file" "${settings:+$settings | }$load" "$@"
  check "$editor $name" "$file" "$expected"
}

# The list the buffer's findings went to, as LINE:COLUMN: TEXT lines.
list_items() {
  echo "call writefile(map($1, 'v:val.lnum . \":\" . v:val.col . \": \" . v:val.text'), '$2')"
}

gq="let g:brindle_gq = 1"
for editor in $editors; do
  # The blank line after a paragraph and the file's last line survive, by
  # gq and by the command; the range is read in the whole buffer.
  go40="$gq | set tw=40"
  run_go "$editor" gq-blank-inside "$work/blank-inside.go" "$work/blank-inside.go" "$go40" -c "normal! ggVjgq"
  run_go "$editor" wrap-blank-inside "$work/blank-inside.go" "$work/blank-inside.go" "$go40" -c "1,2BrindleWrap"
  run_go "$editor" gq-blank-after "$work/blank-after.go" "$work/blank-after.go" "$go40" -c "normal! ggVGgq"
  run_go "$editor" wrap-blank-after "$work/blank-after.go" "$work/blank-after.go" "$go40" -c "1,2BrindleWrap"
  run_go "$editor" gq-last-line "$work/last-line.go" "$work/last-line-wrapped.go" "set tw=40 | $gq" \
    -c "normal! Ggqq"
  run_go "$editor" wrap-last-line "$work/last-line.go" "$work/last-line-wrapped.go" "" \
    -c "2,2BrindleWrap --width 40"
  run_go "$editor" wrap-in-raw-string "$work/raw-string.go" "$work/raw-string.go" "" \
    -c "2,2BrindleWrap --width 40"

  # Findings go to the quickfix list (the location list with a bang or
  # g:brindle_use_loclist), the buffer unchanged; marker lines are a
  # command of their own.
  run_go "$editor" grammar-quickfix "$work/passive.go" "$work/passive.go" "" \
    -c "BrindleGrammar" -c "cclose" -c "$(list_items 'getqflist()' "$work/$editor-qf.txt")"
  check "$editor grammar quickfix list" "$work/$editor-qf.txt" "$work/passive-list.txt"
  run_go "$editor" grammar-loclist "$work/passive.go" "$work/passive.go" "" \
    -c "4BrindleGrammar!" -c "lclose" -c "$(list_items 'getloclist(0)' "$work/$editor-ll.txt")"
  check "$editor grammar location list" "$work/$editor-ll.txt" "$work/passive-list-4.txt"
  run_go "$editor" grammar-loclist-setting "$work/passive.go" "$work/passive.go" "let g:brindle_use_loclist = 1" \
    -c "BrindleGrammar" -c "lclose" -c "$(list_items 'getloclist(0)' "$work/$editor-ll2.txt")"
  check "$editor grammar location list by setting" "$work/$editor-ll2.txt" "$work/passive-list.txt"
  brindle grammar --stdin-filename x.go <"$work/passive.go" >"$work/passive-marked.go"
  run_go "$editor" grammar-marks "$work/passive.go" "$work/passive-marked.go" "" -c "BrindleGrammarMarks"

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
