; Destructive list surgery: sub-lists are cut in halves and spliced into
; one another with rplaca and rplacd.
(defun nils (k)
  (do ((k k (- k 1)) (a '() (cons '() a))) ((= k 0) a)))

(defun append-to-tail (x y)
  (if (null x)
      y
      (let ((a x))
        (loop while (consp (cdr a)) do (setq a (cdr a)))
        (rplacd a y)
        x)))

;; Marks the first half of the list with i; answers the pair after it.
(defun first-half (a i)
  (do ((j (floor (length a) 2) (- j 1)) (a a (cdr a)))
      ((= j 0) a)
    (rplaca a i)))

;; Marks the first half of (car l1) with i and cuts it there; answers the rest.
(defun cut-half (l1 i)
  (let ((n (floor (length (car l1)) 2)))
    (if (= n 0)
        (progn (rplaca l1 '()) (car l1))
        (do ((n n (- n 1)) (a (car l1) (cdr a)))
            ((= n 1) (let ((x (cdr a))) (rplacd a '()) x))
          (rplaca a i)))))

(defun destructive (n m)
  (let ((l (nils 10)))
    (do ((i n (- i 1))) ((= i 0) l)
      (if (null (car l))
          (do ((k l (cdr k))) ((not (consp k)))
            (if (null (car k)) (rplaca k (cons '() '())))
            (append-to-tail (car k) (nils m)))
          (do ((l1 l (cdr l1)) (l2 (cdr l) (cdr l2))) ((not (consp l2)))
            (let ((tail (first-half (car l2) i)))
              (rplacd tail (cut-half l1 i))))))))

(defun total-length (l)
  (do ((l l (cdr l)) (s 0 (+ s (length (car l))))) ((not (consp l)) s)))

(defvar *sum* 0)
(dotimes (r 24) (setq *sum* (+ *sum* (total-length (destructive 600 50)))))
(format t "~a~%" *sum*)
