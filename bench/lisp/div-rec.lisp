; Halving a list by walking it two pairs at a time, recursively.
(defun create-n (n)
  (do ((n n (- n 1)) (a '() (cons '() a))) ((= n 0) a)))

(defun recursive-div2 (l)
  (if (consp l)
      (cons (car l) (recursive-div2 (cddr l)))
      '()))

(defvar *long-list* (create-n 200))
(defvar *sum* 0)
(dotimes (i 60000) (setq *sum* (+ *sum* (length (recursive-div2 *long-list*)))))
(format t "~a~%" *sum*)
