;;; brindlewort.el --- Re-flow and proofread line comments with brindle  -*- lexical-binding: t; -*-

;; Version: 1.0.0
;; Keywords: convenience, tools, wp
;; Package-Requires: ((emacs "25.1"))

;;; Commentary:

;; Commands that run the region or the buffer through `brindle', the
;; command-line companion of Brindlewort:
;;
;;   M-x brindlewort-wrap-region      re-flow the comments to the maximum length
;;   M-x brindlewort-unwrap-region    join each comment paragraph into one line
;;   M-x brindlewort-spell-region     add spelling marker lines
;;   M-x brindlewort-grammar-region   add passive-voice marker lines
;;   M-x brindlewort-lint-region      auto-correct through the helper service
;;   M-x brindlewort-wrap-buffer      the whole buffer
;;
;; The text is replaced only when brindle succeeds; otherwise its message is
;; shown and the buffer is left as it was.  Each command is one undo step.

;;; Code:

(require 'subr-x)

(defgroup brindlewort nil
  "Re-flow and proofread line comments with brindle."
  :group 'tools
  :prefix "brindlewort-")

(defcustom brindlewort-program "brindle"
  "The brindle program."
  :type 'string)

(defcustom brindlewort-wrap-arguments nil
  "Extra arguments for wrapping, for example (\"--width\" \"72\").
Without them brindle uses the shared maximum comment length."
  :type '(repeat string))

(defun brindlewort--whole-lines (start end)
  "Return START and END widened to whole lines, as a cons."
  (save-excursion
    (let ((from (progn (goto-char start) (line-beginning-position)))
          (to (progn (goto-char end)
                     (if (and (bolp) (> end start)) (point) (line-end-position)))))
      (cons from to))))

(defun brindlewort--filter (start end subcommand &rest arguments)
  "Replace START..END with the output of brindle SUBCOMMAND ARGUMENTS.
Nothing changes when brindle fails; its message is signalled as an error."
  (let* ((lines (brindlewort--whole-lines start end))
         (from (car lines))
         (to (cdr lines))
         (output (generate-new-buffer " *brindle output*"))
         (errors (make-temp-file "brindle-errors"))
         (coding-system-for-read 'utf-8-unix)
         (coding-system-for-write 'utf-8-unix))
    (unwind-protect
        (let ((status (apply #'call-process-region from to brindlewort-program
                             nil (list output errors) nil subcommand arguments)))
          (unless (eql status 0)
            (error "brindle %s failed: %s" subcommand
                   (with-temp-buffer
                     (insert-file-contents errors)
                     (string-trim (buffer-string)))))
          (unless (string= (buffer-substring-no-properties from to)
                           (with-current-buffer output (buffer-string)))
            (save-excursion
              (goto-char from)
              (delete-region from to)
              (insert-buffer-substring output))))
      (kill-buffer output)
      (delete-file errors))))

(defun brindlewort--region-or-buffer ()
  "The active region, or the whole buffer when there is none."
  (if (use-region-p)
      (list (region-beginning) (region-end))
    (list (point-min) (point-max))))

;;;###autoload
(defun brindlewort-wrap-region (start end)
  "Re-flow the comments between START and END."
  (interactive (brindlewort--region-or-buffer))
  (apply #'brindlewort--filter start end "wrap" brindlewort-wrap-arguments))

;;;###autoload
(defun brindlewort-unwrap-region (start end)
  "Join each comment paragraph between START and END into one line."
  (interactive (brindlewort--region-or-buffer))
  (brindlewort--filter start end "unwrap"))

;;;###autoload
(defun brindlewort-spell-region (start end)
  "Add spelling marker lines to the comments between START and END."
  (interactive (brindlewort--region-or-buffer))
  (brindlewort--filter start end "spell"))

;;;###autoload
(defun brindlewort-grammar-region (start end)
  "Add passive-voice marker lines to the comments between START and END."
  (interactive (brindlewort--region-or-buffer))
  (brindlewort--filter start end "grammar"))

;;;###autoload
(defun brindlewort-lint-region (start end)
  "Auto-correct the text between START and END through the helper service."
  (interactive (brindlewort--region-or-buffer))
  (brindlewort--filter start end "lint"))

;;;###autoload
(defun brindlewort-wrap-buffer ()
  "Re-flow every comment in the buffer."
  (interactive)
  (brindlewort-wrap-region (point-min) (point-max)))

(provide 'brindlewort)
;;; brindlewort.el ends here
