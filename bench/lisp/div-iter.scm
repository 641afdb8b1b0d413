; Halving a list by walking it two pairs at a time, iteratively.
(define (create-n n)
  (do ((n n (- n 1)) (a '() (cons '() a))) ((= n 0) a)))

(define (iterative-div2 l)
  (do ((l l (cddr l)) (a '() (cons (car l) a))) ((not (pair? l)) a)))

(define long-list (create-n 200))
(define sum 0)
(do ((i 0 (+ i 1))) ((= i 50000)) (set! sum (+ sum (length (iterative-div2 long-list)))))
(display sum)
(newline)
