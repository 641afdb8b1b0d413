; Symbolic derivation: list building with map and closures over symbols.
(defun deriv (a)
  (cond ((not (consp a)) (if (eq a 'x) 1 0))
        ((eq (car a) '+) (cons '+ (mapcar #'deriv (cdr a))))
        ((eq (car a) '-) (cons '- (mapcar #'deriv (cdr a))))
        ((eq (car a) '*)
         (list '* a (cons '+ (mapcar (lambda (b) (list '/ (deriv b) b)) (cdr a)))))
        ((eq (car a) '/)
         (list '-
               (list '/ (deriv (cadr a)) (caddr a))
               (list '/ (cadr a) (list '* (caddr a) (caddr a) (deriv (caddr a))))))
        (t (error "no derivation for ~a" a))))

(defun leaves (tr)
  (if (consp tr) (+ (leaves (car tr)) (leaves (cdr tr))) (if (null tr) 0 1)))

(defvar *expression* '(+ (* 3 x x) (* a x x) (* b x) 5 (/ x (* a x))))
(defvar *sum* 0)
(dotimes (i 24000) (setq *sum* (+ *sum* (leaves (deriv *expression*)))))
(format t "~a~%" *sum*)
