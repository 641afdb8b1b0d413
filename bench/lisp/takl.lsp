; Takeuchi's function on lists: lengths compared by walking cdrs.
(define (listn _n)
  (if (= _n 0) nil (cons _n (listn (- _n 1)))))

(define (shorter? _x _y)
  (and (not (null? _y))
       (or (null? _x) (shorter? (cdr _x) (cdr _y)))))

(define (mas _x _y _z)
  (if (not (shorter? _y _x))
      _z
      (mas (mas (cdr _x) _y _z)
           (mas (cdr _y) _z _x)
           (mas (cdr _z) _x _y))))

(define L18 (listn 18))
(define L12 (listn 12))
(define L6 (listn 6))
(define Sum 0)
(repeat 9 (set! Sum (+ Sum (length (mas L18 L12 L6)))))
(princ Sum)
