; Building a long string piece by piece with string-append. The signature
; looks at the middle character through substring, which every interpreter
; compared here handles.
(define (build n)
  (do ((i 0 (+ i 1)) (s "" (string-append s (number->string i) ","))) ((= i n) s)))

(define (signature s)
  (let ((middle (quotient (string-length s) 2)))
    (+ (string-length s) (if (string=? (substring s middle (+ middle 1)) "5") 1 0))))

(define sum 0)
(do ((i 0 (+ i 1))) ((= i 300)) (set! sum (+ sum (signature (build 2000)))))
(display sum)
(newline)
