; Takeuchi's function: deep recursion with three arguments.
(defun tak (x y z)
  (if (not (< y x))
      z
      (tak (tak (- x 1) y z)
           (tak (- y 1) z x)
           (tak (- z 1) x y))))

(defvar *sum* 0)
(dotimes (i 80) (setq *sum* (+ *sum* (tak 18 12 6))))
(format t "~a~%" *sum*)
