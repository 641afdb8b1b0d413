; A short tour of the language, run by ./scripts/run.

(princ "Orvane: a few things the Lisp can do.")

; Functions take lexical variables written with a leading "_".
(define (fact _n)
  (if (< _n 2) 1 (* _n (fact (- _n 1)))))
(format nil "10! = ~a~%" (fact 10))

; Closures: gamma copies what it captures, so it outlives its creator.
(define (make-counter _start)
  (gamma () ((_count _start))
    (set! _count (+ _count 1))
    _count))
(define counter (make-counter 41))
(counter)
(format nil "the counter says ~a~%" (counter))

; Non-local exits unwind through cleanups.
(format nil "caught ~a~%"
  (catch 'done
    (unwind-protect (throw 'done 'the-value)
      (princ "cleaning up on the way out"))))

; Lists and higher-order functions.
(format nil "squares: ~a~%" (map (lambda (_x) (* _x _x)) '(1 2 3 4 5)))
