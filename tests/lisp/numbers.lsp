; The numeric primitives, as Lisp programs use them.

; --- Kinds of results

(check (type-of (+ 1 2)) 'integer)
(check (type-of (+ 1 2.0)) 'real)
(check (+ 1 2.0) 3.0)
(check (type-of (/ 6 3)) 'real)
(check (/ 6 3) 2.0)
(check (type-of (+ 8388606 1)) 'long)
(check (+ 8388606 1) 8388607)
(check (type-of (- 8388607 1)) 'integer)
(check (* 65536 65536) 0)
(check (+ 2147483647 1) -2147483648)
(check (- 10 1 2 3) 4)
(check (- 5) -5)
(check (*) 1)
(check (+) 0)

; --- Comparisons and extremes

(check (list (< 1 2 3) (< 1 3 2) (<= 2 2) (>= 3 2 2) (= 1 1.0) (/= 1 2 1)) '(t () t t t t))
(check (< 5) t)
(check (type-of (max 1 2.0 3)) 'real)
(check (max 1 2.0 3) 3.0)
(check (type-of (max 3 1)) 'integer)
(check (min 4 -2 7) -2)
(check (abs -4) 4)
(check (abs -4.5) 4.5)
(check (relate 2 5) -1)

; --- Rounding and division

(check (round 2.5) 3)
(check (round -2.5) -2)
(check (round 7 2) 4)
(check (truncate -2.7) -2)
(check (floor -2.7) -3)
(check (ceiling 2.2) 3)
(check (type-of (round-float 3.14159 2)) 'real)
(check (round-float 3.14159 2) 3.14)
(check (quotient 7 2) 3)
(check (quotient -7 2) -3)
(check (modulo -7 3) 2)
(check (remainder -7 3) -1)
(check (modulo 7 -3) -2)
(check (list (even? 4) (odd? 4)) '(t ()))
(check (progressive-growth 10) 15)
(check (progressive-growth 0) 1)
(check (progressive-growth -3) -4)
(check (interpolate 0 10 0.25 nil) 2.5)
(check (interpolate 0 10 0.25 t) 3)

; --- Functions and bits

(check (sqrt 16) 4.0)
(check (expt 2 8) 256.0)
(check (< (abs (- (atan 1 nil) 0.785398163397448)) 0.000000000001) t)
(check (bit-test 5 2) t)
(check (bit-test 5 1) nil)
(check (bit-set 0 33) 2)
(check (bit-clear 7 0) 6)
(check (list (bit-and 12 10) (bit-or 12 10) (bit-xor 12 10) (bit-not 0)) '(8 14 6 -1))

; --- Predicates

(check (list (number? 1) (number? 'a) (integer? 1.0) (inexact? 'a) (rational? 1)) '(t () () t ()))
(check (list (zero? 0.0) (positive? 3) (negative? -0.5)) '(t t t))

; --- Random numbers stay in range

(define (all-in-range? _n _count)
  (let ((_ok t))
    (repeat _count
      (let ((_r (random _n)))
        (when (or (< _r 0) (>= _r _n)) (set! _ok nil))))
    _ok))
(check (all-in-range? 6 500) t)
(check (all-in-range? 1 20) t)
(check (all-in-range? 32767 200) t)
