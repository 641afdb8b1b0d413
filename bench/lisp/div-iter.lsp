; Halving a list by walking it two pairs at a time, iteratively.
(define (create-n _n)
  (let ((_a nil))
    (while (> _n 0) (set! _a (cons nil _a)) (set! _n (- _n 1)))
    _a))

(define (iterative-div2 _l)
  (let ((_a nil))
    (while (pair? _l) (set! _a (cons (car _l) _a)) (set! _l (cddr _l)))
    _a))

(define Long-List (create-n 200))
(define Sum 0)
(repeat 50000 (set! Sum (+ Sum (length (iterative-div2 Long-List)))))
(princ Sum)
