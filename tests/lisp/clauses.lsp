; Logic programs: predicates made of clauses, proved with backtracking.

; --- Append, in every direction

(defclause (app () _l _l))
(defclause (app (_h . _t) _l (_h . _r)) (app _t _l _r))

(check (clause? app) t)
(check (type-of app) 'predicate)

(define (app-backwards) (if (app _x '(3) '(1 2 3)) _x 'failed))
(check (app-backwards) '(1 2))

(define (app-forwards) (if (app '(1 2) '(3 4) _z) _z 'failed))
(check (app-forwards) '(1 2 3 4))

; The recursive clause was defined last, so it is tried first.
(define (app-split) (if (app _x _y '(1 2)) (list _x _y) 'failed))
(check (app-split) '((1 2) ()))

(define (app-check) (app '(1) '(2) '(1 2)))
(check (app-check) t)
(define (app-wrong) (app '(1) '(2) '(2 1)))
(check (app-wrong) ())

; A failing proof leaves the caller's variables unbound.
(define (app-fails) (list (app _x '(9) '(1 2)) (free? _x)))
(check (app-fails) '(() t))

; --- A family tree

(defclause (parent tom bob))
(defclause (parent bob ann))
(defclause (parent bob pat))
(defclause (parent pat jim))
(defclause (grandparent _x _z) (parent _x _y) (parent _y _z))

(define (grandchild-of _who) (if (grandparent _who _g) _g 'none))
(check (grandchild-of 'tom) 'pat)
(check (grandchild-of 'bob) 'jim)
(check (grandchild-of 'jim) 'none)
(define (tom-is-grandparent-of-ann) (grandparent 'tom 'ann))
(check (tom-is-grandparent-of-ann) t)

; --- Lisp goals inside clauses

(defclause (positive _n) (> _n 0))
(check (positive 3) t)
(check (positive -3) ())

; --- N queens by backtracking

(defclause (sel _x (_x . _r) _r))
(defclause (sel _x (_h . _t) (_h . _r)) (sel _x _t _r))
(defclause (perm () ()))
(defclause (perm _l (_h . _t)) (sel _h _l _r) (perm _r _t))
(defclause (noattack _q () _d))
(defclause (noattack _q (_q1 . _qs) _d)
  (neq? (abs (- _q _q1)) _d)
  (noattack _q _qs (+ _d 1)))
(defclause (safe ()))
(defclause (safe (_q . _qs)) (noattack _q _qs 1) (safe _qs))
(defclause (queens _rows _qs) (perm _rows _qs) (safe _qs))

(define (four-queens) (if (queens '(1 2 3 4) _qs) _qs 'none))
(check (if (member (four-queens) '((2 4 1 3) (3 1 4 2))) t ()) t)

(define (six-queens) (if (queens '(1 2 3 4 5 6) _qs) _qs 'none))
(check (length (six-queens)) 6)

; --- The meta goal clause, and asserted clauses

(defclause (likes mary wine))
(defclause (has-rule _t) (clause _t))
(check (has-rule '((likes mary wine))) t)
(check (has-rule '((likes mary beer))) ())
(check (asserte '((color red))) 'color)
(check (color 'red) t)
(check (logvar? 5) ())
