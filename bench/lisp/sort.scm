; Sorting a long list of pseudo-random integers. Scheme has no standard
; sort, so this is a merge sort written in Scheme.
(define (random-list n)
  (do ((n n (- n 1))
       (x 1 (modulo (+ (* 75 x) 74) 65537))
       (l '() (cons (modulo (+ (* 75 x) 74) 65537) l)))
      ((= n 0) l)))

(define (reverse-onto l tail)
  (if (null? l) tail (reverse-onto (cdr l) (cons (car l) tail))))

(define (merge-lists a b)
  (let loop ((a a) (b b) (acc '()))
    (cond ((null? a) (reverse-onto acc b))
          ((null? b) (reverse-onto acc a))
          ((< (car b) (car a)) (loop a (cdr b) (cons (car b) acc)))
          (else (loop (cdr a) b (cons (car a) acc))))))

(define (merge-sort l n)
  (if (<= n 1)
      (if (= n 1) (list (car l)) '())
      (let ((h (quotient n 2)))
        (merge-lists (merge-sort l h) (merge-sort (list-tail l h) (- n h))))))

(define (checksum l)
  (do ((l l (cdr l)) (c 0 (modulo (+ (* c 31) (car l)) 1000003))) ((null? l) c)))

(define numbers (random-list 20000))
(define sum 0)
(do ((i 0 (+ i 1))) ((= i 50))
  (set! sum (+ sum (checksum (merge-sort numbers (length numbers))))))
(display sum)
(newline)
