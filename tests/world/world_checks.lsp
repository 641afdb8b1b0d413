; Checks for titles written with the standard world, beside check.lsp.
;
; (check-culprit expression text) evaluates the expression and checks that
; it stops with an error whose culprit prints as `text`: the world's errors
; say what was wrong in their culprit.
; (report-checks) prints "checks: N of M passed" and a new line.

(define culprit-trapper (new-class 'culprit-trapper))
(culprit-trapper
  (define (error-trap _class _code _culprit _self _a _b)
    (throw 'check-culprit (string _culprit))))
(define Culprit-Handler (make-instance culprit-trapper))

(define check-culprit
  (syntax (_forms)
    (set! Check-Count (+ Check-Count 1))
    (let ((_saved Error-Handler)
          (_got ()))
      (set! Error-Handler Culprit-Handler)
      (set! _got (unwind-protect
                   (catch 'check-culprit (eval (car _forms)) 'no-error)
                   (set! Error-Handler _saved)))
      (if (equal? _got (eval (cadr _forms)))
          (prog1 t (set! Check-Passes (+ Check-Passes 1)))
          (prin "check failed: ")
          (displ (car _forms))
          (prin "  expected culprit: ")
          (displ (eval (cadr _forms)))
          (prin "  got: ")
          (display _got)
          (new-line)))))

(define (report-checks)
  (prin "checks: ")
  (prin Check-Passes)
  (prin " of ")
  (prin Check-Count)
  (prin " passed")
  (new-line))
