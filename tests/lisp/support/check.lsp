; The assertion of the Lisp test files, loaded before each of them.
;
; (check expression expected) evaluates both forms and compares the values
; with equal?. On a difference it shows the expression as written and both
; values, then raises an error, so that the run ends in failure. In quoted
; data nil is a symbol: write the empty list there as ().

(define Check-Count 0)

(define check
  (syntax (_forms)
    (let ((_got (eval (car _forms)))
          (_want (eval (cadr _forms))))
      (set! Check-Count (+ Check-Count 1))
      (if (equal? _got _want)
          t
          (prin "check failed: ")
          (displ (car _forms))
          (prin "  expected: ")
          (displ _want)
          (prin "  got: ")
          (display _got)
          (error-subr (car _forms))))))
