; Takeuchi's function on lists: lengths compared by walking cdrs.
(defun listn (n)
  (if (= n 0) nil (cons n (listn (- n 1)))))

(defun shorterp (x y)
  (and (not (null y))
       (or (null x) (shorterp (cdr x) (cdr y)))))

(defun mas (x y z)
  (if (not (shorterp y x))
      z
      (mas (mas (cdr x) y z)
           (mas (cdr y) z x)
           (mas (cdr z) x y))))

(defvar *l18* (listn 18))
(defvar *l12* (listn 12))
(defvar *l6* (listn 6))
(defvar *sum* 0)
(dotimes (i 9) (setq *sum* (+ *sum* (length (mas *l18* *l12* *l6*)))))
(format t "~a~%" *sum*)
