;;; brindle-eglot.el --- brindle lsp through eglot  -*- lexical-binding: t; -*-

;; Load this file (or copy its form) into your init file.  Eglot runs one
;; server per buffer: these modes get brindle instead of their usual server.
(with-eval-after-load 'eglot
  (add-to-list 'eglot-server-programs
               '((c-mode c++-mode go-mode rust-mode java-mode js-mode swift-mode)
                 . ("brindle" "lsp" :initializationOptions (:severity "hint")))))

(provide 'brindle-eglot)
;;; brindle-eglot.el ends here
