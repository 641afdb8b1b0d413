; Halving a list by walking it two pairs at a time, recursively.
(define (create-n n)
  (do ((n n (- n 1)) (a '() (cons '() a))) ((= n 0) a)))

(define (recursive-div2 l)
  (if (pair? l)
      (cons (car l) (recursive-div2 (cddr l)))
      '()))

(define long-list (create-n 200))
(define sum 0)
(do ((i 0 (+ i 1))) ((= i 60000)) (set! sum (+ sum (length (recursive-div2 long-list)))))
(display sum)
(newline)
