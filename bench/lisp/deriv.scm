; Symbolic derivation: list building with map and closures over symbols.
(define (deriv a)
  (cond ((not (pair? a)) (if (eq? a 'x) 1 0))
        ((eq? (car a) '+) (cons '+ (map deriv (cdr a))))
        ((eq? (car a) '-) (cons '- (map deriv (cdr a))))
        ((eq? (car a) '*)
         (list '* a (cons '+ (map (lambda (b) (list '/ (deriv b) b)) (cdr a)))))
        ((eq? (car a) '/)
         (list '-
               (list '/ (deriv (cadr a)) (caddr a))
               (list '/ (cadr a) (list '* (caddr a) (caddr a) (deriv (caddr a))))))
        (else (error "no derivation for" a))))

(define (leaves t)
  (if (pair? t) (+ (leaves (car t)) (leaves (cdr t))) (if (null? t) 0 1)))

(define expression '(+ (* 3 x x) (* a x x) (* b x) 5 (/ x (* a x))))
(define sum 0)
(do ((i 0 (+ i 1))) ((= i 24000)) (set! sum (+ sum (leaves (deriv expression)))))
(display sum)
(newline)
