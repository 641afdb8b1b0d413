; The standard world: start-up, the toplevel loop, the system keys and quitting.
;
; A title defines its pages (and, if it likes, init-user, which runs before
; the first page is shown); the world shows the first page and runs the
; event loop. The usual keys work everywhere: Page Down and Page Up move
; between pages, Control+Q quits. A title adds its own with add-system-key.

(define System-Keys ())        ; (code . function of no argument), tried first
(define Quit-Hooks ())         ; functions called before the title quits; nil from one cancels

(define (add-system-key _code _function)
  (set! System-Keys (cons (cons _code _function) System-Keys)))

(define Key-Page-Up 11)
(define Key-Page-Down 12)
(define Key-Q 81)

(define (system-key-down _code)
  (let ((_entry (assv _code System-Keys)))
    (cond (_entry ((cdr _entry)) t)
          ((and (= _code Key-Q) (control-key?)) (do-quit) t)
          ((= _code Key-Page-Down) (next-page) t)
          ((= _code Key-Page-Up) (previous-page) t)
          (else ()))))

; The frame's close box and Control+Q: the hooks may refuse; the answer is
; no-value when the title goes on.
(define (do-quit)
  (if (every (lambda (_hook) (_hook)) Quit-Hooks)
      (quit 0)
      (void)))

(define (init-orvane) (open-root))

; Runs the event loop for good: events, then the processes' time, then a
; short sleep when nothing is waiting. Each turn is its own toplevel, so an
; error in a handler ends only that turn.
(define (toplevel-loop)
  (set-event-flag 0)
  (if (and (null? Current-Page) Pages) (catch 'toplevel (first-page)))
  (while t
    (catch 'toplevel
      (while t
        (process-events ())
        (give-time)
        (sleep 1)))))
