; Destructive list surgery: sub-lists are cut in halves and spliced into
; one another with set-car! and set-cdr!.
(define (nils _k)
  (let ((_a nil))
    (while (> _k 0) (set! _a (cons nil _a)) (set! _k (- _k 1)))
    _a))

(define (append-to-tail! _x _y)
  (if (null? _x)
      _y
      (let ((_a _x))
        (while (pair? (cdr _a)) (set! _a (cdr _a)))
        (set-cdr! _a _y)
        _x)))

; Marks the first half of the list with i; answers the pair after it.
(define (first-half! _a _i)
  (let ((_j (quotient (length _a) 2)))
    (while (not (= _j 0)) (set-car! _a _i) (set! _a (cdr _a)) (set! _j (- _j 1)))
    _a))

; Marks the first half of (car l1) with i and cuts it there; answers the rest.
(define (cut-half! _l1 _i)
  (let ((_n (quotient (length (car _l1)) 2)))
    (if (= _n 0)
        (begin (set-car! _l1 nil) (car _l1))
        (let ((_a (car _l1)) (_x nil))
          (while (not (= _n 1)) (set-car! _a _i) (set! _a (cdr _a)) (set! _n (- _n 1)))
          (set! _x (cdr _a))
          (set-cdr! _a nil)
          _x))))

(define (destructive _n _m)
  (let ((_l (nils 10)) (_i _n))
    (while (> _i 0)
      (if (null? (car _l))
          (let ((_k _l))
            (while (pair? _k)
              (when (null? (car _k)) (set-car! _k (cons nil nil)))
              (append-to-tail! (car _k) (nils _m))
              (set! _k (cdr _k))))
          (let ((_l1 _l) (_l2 (cdr _l)))
            (while (pair? _l2)
              (let ((_tail (first-half! (car _l2) _i)))
                (set-cdr! _tail (cut-half! _l1 _i)))
              (set! _l1 (cdr _l1))
              (set! _l2 (cdr _l2)))))
      (set! _i (- _i 1)))
    _l))

(define (total-length _l)
  (let ((_s 0))
    (while (pair? _l) (set! _s (+ _s (length (car _l)))) (set! _l (cdr _l)))
    _s))

(define Sum 0)
(repeat 24 (set! Sum (+ Sum (total-length (destructive 600 50)))))
(princ Sum)
