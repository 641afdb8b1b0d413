; The n-queens problem: counting all placements by backtracking over lists.
(define (one-to n)
  (do ((n n (- n 1)) (l '() (cons n l))) ((= n 0) l)))

(define (ok? row dist placed)
  (or (null? placed)
      (and (not (= (car placed) (+ row dist)))
           (not (= (car placed) (- row dist)))
           (ok? row (+ dist 1) (cdr placed)))))

(define (try-it x y z)
  (if (null? x)
      (if (null? y) 1 0)
      (+ (if (ok? (car x) 1 z)
             (try-it (append (cdr x) y) '() (cons (car x) z))
             0)
         (try-it (cdr x) (cons (car x) y) z))))

(define (queens n) (try-it (one-to n) '() '()))

(define sum 0)
(do ((i 0 (+ i 1))) ((= i 80)) (set! sum (+ sum (queens 8))))
(display sum)
(newline)
