; Sorting a long list of pseudo-random integers with the built-in sort.
(defun random-list (n)
  (do ((n n (- n 1))
       (x 1 (mod (+ (* 75 x) 74) 65537))
       (l '() (cons (mod (+ (* 75 x) 74) 65537) l)))
      ((= n 0) l)))

(defun checksum (l)
  (do ((l l (cdr l)) (c 0 (mod (+ (* c 31) (car l)) 1000003))) ((null l) c)))

(defvar *numbers* (random-list 20000))
(defvar *sum* 0)
(dotimes (i 50) (setq *sum* (+ *sum* (checksum (sort (copy-list *numbers*) #'<)))))
(format t "~a~%" *sum*)
