; Takeuchi's function: deep recursion with three arguments.
(define (tak x y z)
  (if (not (< y x))
      z
      (tak (tak (- x 1) y z)
           (tak (- y 1) z x)
           (tak (- z 1) x y))))

(define sum 0)
(do ((i 0 (+ i 1))) ((= i 80)) (set! sum (+ sum (tak 18 12 6))))
(display sum)
(newline)
