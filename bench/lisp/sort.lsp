; Sorting a long list of pseudo-random integers with the sort primitive and
; a Lisp-visible predicate.
(define (random-list _n)
  (let ((_x 1) (_l nil))
    (while (> _n 0)
      (set! _x (modulo (+ (* 75 _x) 74) 65537))
      (set! _l (cons _x _l))
      (set! _n (- _n 1)))
    _l))

(define (checksum _l)
  (let ((_c 0))
    (while (pair? _l) (set! _c (modulo (+ (* _c 31) (car _l)) 1000003)) (set! _l (cdr _l)))
    _c))

(define Numbers (random-list 20000))
(define Sum 0)
(repeat 50 (set! Sum (+ Sum (checksum (sort < Numbers nil nil)))))
(princ Sum)
