; The n-queens problem: counting all placements by backtracking over lists.
(defun one-to (n)
  (do ((n n (- n 1)) (l '() (cons n l))) ((= n 0) l)))

(defun okp (row dist placed)
  (or (null placed)
      (and (not (= (car placed) (+ row dist)))
           (not (= (car placed) (- row dist)))
           (okp row (+ dist 1) (cdr placed)))))

(defun try-it (x y z)
  (if (null x)
      (if (null y) 1 0)
      (+ (if (okp (car x) 1 z)
             (try-it (append (cdr x) y) '() (cons (car x) z))
             0)
         (try-it (cdr x) (cons (car x) y) z))))

(defun queens (n) (try-it (one-to n) '() '()))

(defvar *sum* 0)
(dotimes (i 80) (setq *sum* (+ *sum* (queens 8))))
(format t "~a~%" *sum*)
