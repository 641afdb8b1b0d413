; Takeuchi's function on lists: lengths compared by walking cdrs.
(define (listn n)
  (if (= n 0) '() (cons n (listn (- n 1)))))

(define (shorter? x y)
  (and (not (null? y))
       (or (null? x) (shorter? (cdr x) (cdr y)))))

(define (mas x y z)
  (if (not (shorter? y x))
      z
      (mas (mas (cdr x) y z)
           (mas (cdr y) z x)
           (mas (cdr z) x y))))

(define l18 (listn 18))
(define l12 (listn 12))
(define l6 (listn 6))
(define sum 0)
(do ((i 0 (+ i 1))) ((= i 9)) (set! sum (+ sum (length (mas l18 l12 l6)))))
(display sum)
(newline)
