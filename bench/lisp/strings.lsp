; Building a long string piece by piece with string-append. The signature
; looks at the middle character through substring.
(define (build _n)
  (let ((_s "") (_i 0))
    (while (< _i _n)
      (set! _s (string-append _s (string _i) ","))
      (set! _i (+ _i 1)))
    _s))

(define (signature _s)
  (let ((_middle (quotient (string-length _s) 2)))
    (+ (string-length _s) (if (string=? (substring _s _middle (+ _middle 1)) "5") 1 0))))

(define Sum 0)
(repeat 300 (set! Sum (+ Sum (signature (build 2000)))))
(princ Sum)
