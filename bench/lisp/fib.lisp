; Doubly recursive Fibonacci: function calls and small-integer arithmetic.
(defun fib (n)
  (if (< n 2)
      n
      (+ (fib (- n 1)) (fib (- n 2)))))

(format t "~a~%" (fib 30))
