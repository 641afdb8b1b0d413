; Halving a list by walking it two pairs at a time, iteratively.
(defun create-n (n)
  (do ((n n (- n 1)) (a '() (cons '() a))) ((= n 0) a)))

(defun iterative-div2 (l)
  (do ((l l (cddr l)) (a '() (cons (car l) a))) ((not (consp l)) a)))

(defvar *long-list* (create-n 200))
(defvar *sum* 0)
(dotimes (i 50000) (setq *sum* (+ *sum* (length (iterative-div2 *long-list*)))))
(format t "~a~%" *sum*)
