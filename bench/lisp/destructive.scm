; Destructive list surgery: sub-lists are cut in halves and spliced into
; one another with set-car! and set-cdr!.
(define (nils k)
  (do ((k k (- k 1)) (a '() (cons '() a))) ((= k 0) a)))

(define (append-to-tail! x y)
  (if (null? x)
      y
      (let loop ((a x))
        (if (pair? (cdr a))
            (loop (cdr a))
            (begin (set-cdr! a y) x)))))

; Marks the first half of the list with i; answers the pair after it.
(define (first-half! a i)
  (do ((j (quotient (length a) 2) (- j 1)) (a a (cdr a)))
      ((= j 0) a)
    (set-car! a i)))

; Marks the first half of (car l1) with i and cuts it there; answers the rest.
(define (cut-half! l1 i)
  (let ((n (quotient (length (car l1)) 2)))
    (if (= n 0)
        (begin (set-car! l1 '()) (car l1))
        (do ((n n (- n 1)) (a (car l1) (cdr a)))
            ((= n 1) (let ((x (cdr a))) (set-cdr! a '()) x))
          (set-car! a i)))))

(define (destructive n m)
  (let ((l (nils 10)))
    (do ((i n (- i 1))) ((= i 0) l)
      (if (null? (car l))
          (do ((k l (cdr k))) ((not (pair? k)))
            (if (null? (car k)) (set-car! k (cons '() '())))
            (append-to-tail! (car k) (nils m)))
          (do ((l1 l (cdr l1)) (l2 (cdr l) (cdr l2))) ((not (pair? l2)))
            (let ((tail (first-half! (car l2) i)))
              (set-cdr! tail (cut-half! l1 i))))))))

(define (total-length l)
  (do ((l l (cdr l)) (s 0 (+ s (length (car l))))) ((not (pair? l)) s)))

(define sum 0)
(do ((r 0 (+ r 1))) ((= r 24)) (set! sum (+ sum (total-length (destructive 600 50)))))
(display sum)
(newline)
