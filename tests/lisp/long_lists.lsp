; Lists far longer than the native stack could follow by recursion: every
; walk along the cdrs iterates.

(define (long-list _n)
  (let ((_l ()))
    (while (> _n 0) (set! _l (cons _n _l)) (set! _n (- _n 1)))
    _l))

(define Long (long-list 300000))

(check (length Long) 300000)
(check (equal? Long (long-list 300000)) t)
(check (equal? Long (long-list 299999)) ())
(check (length (copy-tree Long)) 300000)
(check (length (copy-list Long)) 300000)
(check (length (butlast Long)) 299999)
(check (car (reverse Long)) 300000)
(check (car (last-pair (append Long '(tail)))) 'tail)
(check (car (sort > Long nil nil)) 300000)
(check (car (member 300000 Long)) 300000)
(check (string? (string Long)) t)
