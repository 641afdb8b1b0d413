; The n-queens problem: counting all placements by backtracking over lists.
(define (one-to _n)
  (let ((_l nil))
    (while (> _n 0) (set! _l (cons _n _l)) (set! _n (- _n 1)))
    _l))

(define (ok? _row _dist _placed)
  (or (null? _placed)
      (and (not (= (car _placed) (+ _row _dist)))
           (not (= (car _placed) (- _row _dist)))
           (ok? _row (+ _dist 1) (cdr _placed)))))

(define (try-it _x _y _z)
  (if (null? _x)
      (if (null? _y) 1 0)
      (+ (if (ok? (car _x) 1 _z)
             (try-it (append (cdr _x) _y) nil (cons (car _x) _z))
             0)
         (try-it (cdr _x) (cons (car _x) _y) _z))))

(define (queens _n) (try-it (one-to _n) nil nil))

(define Sum 0)
(repeat 80 (set! Sum (+ Sum (queens 8))))
(princ Sum)
