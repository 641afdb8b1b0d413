; Data nested far deeper than the native stack could follow by recursion:
; each walk over it either completes or ends in error 9, never in a crash.
; Two such structures fill most of the node store: copies are tested in
; deep_copies.lsp.

(define (nest-in-cars _n _leaf)
  (let ((_l _leaf))
    (while (> _n 0) (set! _l (list _l)) (set! _n (- _n 1)))
    _l))

(define Deep-A (nest-in-cars 800000 'leaf))
(define Deep-B (nest-in-cars 800000 'leaf))

; --- Comparing: answered in full, in both directions

(check (equal? Deep-A Deep-B) t)
(check (equal? Deep-A (list Deep-B)) ())
(check (equal? (car Deep-A) Deep-B) ())
(check (equal? (list 1 Deep-A 2) (list 1 Deep-B 2)) t)
(check (equal? (list 1 Deep-A 2) (list 1 Deep-B 3)) ())
(check (eq? (car (member Deep-B (list 1 Deep-A))) Deep-A) t)
(check (member (car Deep-B) (list 1 Deep-A)) ())
(check (eq? (cdr (assoc Deep-B (list (cons 1 2) (cons Deep-A 'found)))) 'found) t)
(check (assoc (list Deep-B) (list (cons Deep-A 'found))) ())
(check (remove Deep-B (list Deep-A 1)) '(1))

; Sets compare their elements as sets, each pair of levels as a set of its
; own: no walk of a single path, so the depth ends in error 9.
(check-error (include? (list Deep-B) (list 1 Deep-A)) 9)
(check-error (union (list Deep-A) (list Deep-B)) 9)

; --- Printing ends in error 9, and so does an error report whose culprit is
; too deep to print

(check-error (string Deep-A) 9)
(check-error (+ Deep-A 1) 2)

; --- Unification of deep terms

(defclause (same _x _x))
(define (deep-same? _a _b) (same _a _b))
(check (deep-same? Deep-A Deep-B) t)
(check (deep-same? Deep-A (list Deep-B)) ())
