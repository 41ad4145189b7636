#!/bin/sh
# Drives brindlewort.el in a batch Emacs: the region and buffer commands,
# widening a partial region to whole lines, one undo step per command, and
# a failing brindle that must leave the buffer untouched.
#   emacs_integration_test.sh BRINDLE LISP_DIR
. "$(dirname "$0")/editor_test_setup.sh"
lisp="$2"
command -v emacs >/dev/null 2>&1 || { echo "no Emacs here; skipped"; exit 77; }

# run NAME EXPECTED LISP: evaluates LISP in a buffer visiting a copy of the
# original file, then saves it.
run() {
  file="$work/$1.cpp"
  cp "$work/original.cpp" "$file"
  emacs --batch -Q -L "$lisp" -l brindlewort --eval "
(progn
  (setq brindlewort-wrap-arguments '(\"--width\" \"40\"))
  (find-file \"$file\")
  (buffer-enable-undo)
  $3
  (save-buffer))" >"$work/log" 2>&1 || true
  check "emacs $1" "$file" "$2"
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
