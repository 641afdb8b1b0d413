; Copies of data nested far deeper than the native stack could follow by
; recursion: copy-tree and the answers of logic programs. The node store
; holds the original and both copies, even if the first copy outlives its
; check in a stale word of the native stack.

(define (nest-in-cars _n _leaf)
  (let ((_l _leaf))
    (while (> _n 0) (set! _l (list _l)) (set! _n (- _n 1)))
    _l))

(define Deep-A (nest-in-cars 600000 'leaf))

(define (copy-matches? _copy) (and (equal? _copy Deep-A) (not (eq? (car _copy) (car Deep-A)))))

(check (copy-matches? (copy-tree Deep-A)) t)

; The answer bound to a logic variable is copied out of the proof's frames.
(defclause (same _x _x))
(define (deep-answer) (if (same _x Deep-A) _x 'none))
(check (copy-matches? (deep-answer)) t)
