; The list primitives, as Lisp programs use them.

; --- Accessors and constructors

(check (list (car nil) (cdr nil) (first '(a b))) '(() () a))
(check (cadr '(1 2 3)) 2)
(check (cddr '(1 2 3)) '(3))
(check (caddr '(1 2 3)) 3)
(check (cdadr '(1 (2 3))) '(3))
(check (list (second '(a b c)) (third '(a b c)) (fifth '(a b))) '(b c ()))
(check (tenth '(1 2 3 4 5 6 7 8 9 10)) 10)
(check (cons-list 1 2 '(3)) '(1 2 3))
(check (cons-list 5) 5)
(check (length '(a b c)) 3)
(check (list (last nil) (last-pair nil) (last '(1 2 3))) '(() () 3))
(check (last-pair '(1 2)) '(2))

(define Cells (list 1 2 3))
(check (set-car! Cells 'a) 'a)
(check (set-third! Cells 'c) 'c)
(check (set-cdr! (cdr Cells) '(z)) '(z))
(check Cells '(a 2 z))

; --- Positions

(check (list-ref '(a b c) 1) 'b)
(check (list-ref '(a b c) 5) nil)
(check (reversed-ref '(x y z) 0) 'z)
(check (reversed-ref '(x y z) 3) nil)
(check (list-tail '(a b c) 2) '(c))
(check (butlast '(1 2 3)) '(1 2))
(check (butlast '(1)) nil)
(check (subseq '(a b c d e) 1 3) '(b c))
(check (subseq '(a b c d e) 3 nil) '(d e))

; --- Concatenation, reversal, copies

(define Tail (list 2))
(define Joined (append '(1) '() Tail '()))
(check Joined '(1 2))
(check (eq? (cdr Joined) Tail) t)
(check (append) nil)
(define Front (list 1 2))
(check (eq? (append! nil Front (list 3)) Front) t)
(check Front '(1 2 3))

(define One (list 1))
(check (eq? (reverse One) One) t)
(check (reverse '(1 2 3)) '(3 2 1))
(check (reverse! (list 1 2 3)) '(3 2 1))
(define Tree '((1 2) (3 (4))))
(check (copy-tree Tree) Tree)
(check (eq? (car (copy-list Tree)) (car Tree)) t)
(check (eq? (car (copy-tree Tree)) (car Tree)) nil)
(check (transpose '((1 2 3) (4 5 6))) '((1 4) (2 5) (3 6)))
(check (transpose! (list (list 1 2) (list 3 4))) '((1 3) (2 4)))

; --- Surgery

(define Numbers (list 1 2 3 2))
(define Removed (remove 2 Numbers nil nil))
(check Removed '(1 3 2))
(check (eq? (cdr Removed) (cddr Numbers)) t)
(check (eq? (remove 9 Numbers nil nil) Numbers) t)
(check (remove! 2 Numbers nil nil) '(1 3 2))
(check Numbers '(1 3 2))
(check (remove-tail! (cdr Numbers) Numbers) '(1 2))
(check (replace! 'b 'x (list 'a 'b 'c)) '(a x c))
(check (change-rank! (list 'p 'q 'r 's) 0 2) '(q p r s))
(check (change-rank! (list 'p 'q 'r 's) 3 1) '(p s q r))
(check (change-rank! (list 'p 'q 'r 's) 1 nil) '(p r s q))

; --- Searching

(check (memq 'c '(a b c d)) '(c d))
(check (memv 2.5 '(1 2.5 3)) '(2.5 3))
(check (member "b" '(a b c) nil nil) '(b c))
(check (member 3 '((a . 1) (b . 3)) cdr nil) '((b . 3)))
(check (assq 'b '((a . 1) (b . 2))) '(b . 2))
(check (assv 2.5 '((1 . a) (2.5 . b))) '(2.5 . b))
(check (assoc '(k) '(((k) . 1)) nil nil) '((k) . 1))
(check (associate 'a 9 (list (cons 'a 1))) '((a . 9)))
(check (associate 'b 2 '((a . 1))) '((b . 2) (a . 1)))
(check (add 'a '(a b)) '(a b))
(check (add 'z '(a b)) '(z a b))
(check (find 3 '((a . 1) (b . 3)) cdr =) '(b . 3))
(check (find-if odd? '(2 4 5 6) nil) 5)
(check (collect-if odd? '(1 2 3 4 5) nil) '(1 3 5))
(check (count-if odd? '(1 2 3 4 5) nil) 3)
(check (some (lambda (_x) (and (> _x 2) (* _x 10))) '(1 2 3 4)) 30)
(check (some odd? nil) nil)
(check (every odd? nil) t)
(check (every odd? '(1 3 4)) nil)

; --- Property lists

(check (getf 'b '(a 1 b 2) 0) 2)
(check (getf 'z '(a 1 b 2) 0) 0)
(check (getprop 'b '(a 1 b 2)) '(b 2))
(check (remprop! 'a (list 'a 1 'b 2)) '(b 2))
(check (remprop! 'b (list 'a 1 'b 2 'c 3)) '(a 1 c 3))
(define Seen nil)
(for-each-property (lambda (_k _v) (set! Seen (cons _v Seen))) '(a 1 b 2))
(check Seen '(2 1))

; --- Grouping, sorting, loops

(define (parity _n) (if (odd? _n) 'odd 'even))
(check (partition '(1 2 3 4) '(odd even) parity) '((odd 1 3) (even 2 4)))
(check (partition '(1 3) '(odd even) parity) '((odd 1 3) (even)))
(check (sort < '(3 1 2) nil nil) '(1 2 3))
(check (sort < '(2 1 2) nil =) '(1 2))
(check (sort < '((b . 2) (a . 1)) cdr nil) '((a . 1) (b . 2)))
(define (by-first-sorted _a _b) (< (car (sort < _a nil nil)) (car (sort < _b nil nil))))
(check (sort by-first-sorted '((9 3) (8 2) (7 5)) nil nil) '((8 2) (9 3) (7 5)))
(check (for-collect 3 1 (lambda (_i) _i) t) '(3 2 1))
(check (for-collect 3 1 (lambda (_i) _i) nil) nil)
(define Total 0)
(for 1 4 (lambda (_i) (set! Total (+ Total _i))) nil)
(check Total 10)

; --- Sets

(check (union '(1 2 2) '(2 3) nil) '(1 2 3))
(check (intersection '(1 2 3) '(3 1) nil) '(1 3))
(check (difference '(1 2 3) '(2) nil) '(3 1))
(check (makeset '(a b a c) nil) '(a b c))
(check (memberset '(2 1) '((1 2)) nil) t)
(check (include? '(1 2) '(2 3 1) nil) t)
(check (equalset '(1 (2 3)) '((3 2) 1) nil) t)
(check (equalset '(1 (2 3)) '((3 2) 1) t) nil)
