#!/bin/sh
# Drives brindlewort.el in a batch Emacs: the region and buffer commands,
# widening a partial region to whole lines, one undo step per command, and
# a failing brindle that must leave the buffer untouched.
#   emacs_integration_test.sh BRINDLE LISP_DIR
set -eu
brindle="$1" lisp="$2"
PATH="$(dirname "$brindle"):$PATH"
export PATH
if ! command -v emacs >/dev/null 2>&1; then
  echo "no Emacs here; skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" HOME="$work"

long='// Brindlewort re-flows line comments like this one, which was typed as one very long line.'
printf 'int main() {\n  %s\n  return 0;\n}\n%s\n' "$long" "$long" >"$work/original.cpp"
brindle wrap --width 40 "$work/original.cpp" >"$work/wrapped.cpp"
{ sed -n '1,2p' "$work/original.cpp" | brindle wrap --width 40; sed -n '3,5p' "$work/original.cpp"; } \
  >"$work/range-wrapped.cpp"

failures=0
# run NAME EXPECTED LISP: evaluates LISP in a buffer visiting a copy of the
# original file, then saves it.
run() {
  name="$1" expected="$2" body="$3"
  file="$work/$name.cpp"
  cp "$work/original.cpp" "$file"
  emacs --batch -Q -L "$lisp" -l brindlewort --eval "
(progn
  (setq brindlewort-wrap-arguments '(\"--width\" \"40\"))
  (find-file \"$file\")
  (buffer-enable-undo)
  $body
  (save-buffer))" >"$work/log" 2>&1 || true
  if cmp -s "$file" "$expected"; then
    echo "ok: emacs $name"
  else
    echo "FAIL: emacs $name"
    diff "$expected" "$file" || true
    cat "$work/log"
    failures=$((failures + 1))
  fi
}

run wrap-buffer "$work/wrapped.cpp" "(brindlewort-wrap-buffer)"
# A region from the middle of line 1 to the middle of line 2 covers lines 1-2.
run wrap-partial-region "$work/range-wrapped.cpp" \
  "(brindlewort-wrap-region (+ (point-min) 4) (save-excursion (goto-char (point-min)) (forward-line 1) (+ (point) 10)))"
run unwrap-after-wrap "$work/original.cpp" \
  "(brindlewort-wrap-buffer) (brindlewort-unwrap-region (point-min) (point-max))"
run undo-restores "$work/original.cpp" \
  "(brindlewort-wrap-buffer) (undo-boundary) (setq last-command nil) (undo)"
run failing-brindle "$work/original.cpp" \
  "(setq brindlewort-wrap-arguments '(\"--width\" \"nonsense\"))
   (condition-case err (brindlewort-wrap-buffer)
     (error (princ (format \"expected error: %s\n\" (error-message-string err)))))"
[ "$failures" -eq 0 ]
