; Halving a list by walking it two pairs at a time, recursively.
(define (create-n _n)
  (let ((_a nil))
    (while (> _n 0) (set! _a (cons nil _a)) (set! _n (- _n 1)))
    _a))

(define (recursive-div2 _l)
  (if (pair? _l)
      (cons (car _l) (recursive-div2 (cddr _l)))
      nil))

(define Long-List (create-n 200))
(define Sum 0)
(repeat 60000 (set! Sum (+ Sum (length (recursive-div2 Long-List)))))
(princ Sum)
