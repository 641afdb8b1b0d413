; Building a long string piece by piece with string concatenation. The
; signature looks at the middle character through a substring.
(defun build (n)
  (do ((i 0 (+ i 1)) (s "" (concatenate 'string s (princ-to-string i) ","))) ((= i n) s)))

(defun signature (s)
  (let ((middle (floor (length s) 2)))
    (+ (length s) (if (string= (subseq s middle (+ middle 1)) "5") 1 0))))

(defvar *sum* 0)
(dotimes (i 300) (setq *sum* (+ *sum* (signature (build 2000)))))
(format t "~a~%" *sum*)
