; Takeuchi's function: deep recursion with three arguments.
(define (tak _x _y _z)
  (if (not (< _y _x))
      _z
      (tak (tak (- _x 1) _y _z)
           (tak (- _y 1) _z _x)
           (tak (- _z 1) _x _y))))

(define Sum 0)
(repeat 80 (set! Sum (+ Sum (tak 18 12 6))))
(princ Sum)
