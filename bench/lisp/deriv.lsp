; Symbolic derivation: list building with map and closures over symbols.
(define (deriv _a)
  (cond ((not (pair? _a)) (if (eq? _a 'x) 1 0))
        ((eq? (car _a) '+) (cons '+ (map deriv (cdr _a))))
        ((eq? (car _a) '-) (cons '- (map deriv (cdr _a))))
        ((eq? (car _a) '*)
         (list '* _a (cons '+ (map (lambda (_b) (list '/ (deriv _b) _b)) (cdr _a)))))
        ((eq? (car _a) '/)
         (list '-
               (list '/ (deriv (cadr _a)) (caddr _a))
               (list '/ (cadr _a) (list '* (caddr _a) (caddr _a) (deriv (caddr _a))))))
        (else (error-subr _a))))

(define (leaves _t)
  (if (pair? _t) (+ (leaves (car _t)) (leaves (cdr _t))) (if (null? _t) 0 1)))

(define Expression '(+ (* 3 x x) (* a x x) (* b x) 5 (/ x (* a x))))
(define Sum 0)
(repeat 24000 (set! Sum (+ Sum (leaves (deriv Expression)))))
(princ Sum)
