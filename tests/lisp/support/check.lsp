; The assertion of the Lisp test files, loaded before each of them.
;
; (check expression expected) evaluates both forms and compares the values
; with equal?. On a difference it shows the expression as written and both
; values, then raises an error, so that the run ends in failure. In quoted
; data nil is a symbol: write the empty list there as ().
;
; (check-totals), run after the file, raises an error when the file ran no
; check at all or when a check that started did not pass: it failed (also
; when a handler of the file swallowed its error), or a throw to the
; toplevel (out of memory, for one) cut it short.

(define Check-Count 0)
(define Check-Passes 0)

(define check
  (syntax (_forms)
    (set! Check-Count (+ Check-Count 1))
    (let ((_got (eval (car _forms)))
          (_want (eval (cadr _forms))))
      (if (equal? _got _want)
          (prog1 t (set! Check-Passes (+ Check-Passes 1)))
          (prin "check failed: ")
          (displ (car _forms))
          (prin "  expected: ")
          (displ _want)
          (prin "  got: ")
          (display _got)
          (error-subr (car _forms))))))

; (check-error expression code) evaluates the expression and checks that it
; raises the Lisp error with that code. While it runs, Error-Handler is an
; object whose error-trap throws the code to the check instead of ending the
; form.
(define check-error-trapper (new-class 'check-error-trapper))
(check-error-trapper
  (define (error-trap _class _code _culprit _self _a _b)
    (throw 'check-error _code)))
(define Check-Error-Handler (make-instance check-error-trapper))

(define check-error
  (syntax (_forms)
    (set! Check-Count (+ Check-Count 1))
    (let ((_saved Error-Handler)
          (_got ()))
      (set! Error-Handler Check-Error-Handler)
      (set! _got (unwind-protect
                   (catch 'check-error (eval (car _forms)) 'no-error)
                   (set! Error-Handler _saved)))
      (if (equal? _got (eval (cadr _forms)))
          (prog1 t (set! Check-Passes (+ Check-Passes 1)))
          (prin "check failed: ")
          (displ (car _forms))
          (prin "  expected error: ")
          (displ (eval (cadr _forms)))
          (prin "  got: ")
          (display _got)
          (error-subr (car _forms))))))

(define (check-totals)
  (cond ((/= Check-Passes Check-Count)
         (prin (- Check-Count Check-Passes))
         (prin " of ")
         (prin Check-Count)
         (prin " checks did not pass")
         (new-line)
         (error-subr 'check-totals))
        ((= Check-Count 0)
         (prin "no check ran")
         (new-line)
         (error-subr 'check-totals))
        (t Check-Count)))
