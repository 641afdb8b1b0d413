; The object system as a title's class library uses it: a small hierarchy
; with mixins, methods redefined in superclasses after the subclasses exist,
; slots of every storage type, checked again after collections.

(define (churn _n) (while (> _n 0) (list _n (+ 0.5 _n) "garbage") (set! _n (- _n 1))))

; --- The hierarchy

(define obj-shape (new-class 'obj-shape))
(define obj-named (new-mixin 'obj-named))
(define obj-colored (new-mixin 'obj-colored))

(obj-named
  (defslot name)
  (define (print-self) (string-append "#<" (symbol->string name) ">"))
  (define (describe) (list 'named name)))

(obj-colored
  (defslot color :default 'black)
  (define (paint) (list 'colored color)))

(obj-shape
  (defslot x :type word :default 0)
  (defslot y :type word :default 0)
  (defslot depth :type byte :default 1)
  (defslot visible? :type boolean :default t)
  (defslot selected? :type boolean :default nil)
  (defslot parts :default nil)
  (define (paint) (list 'shape x y))
  (define (move _dx _dy) (set! x (+ x _dx)) (set! y (+ y _dy)) (list x y))
  (define (area) 0))

(define obj-rect (new-class 'obj-rect obj-named obj-colored obj-shape))
(obj-rect
  (defslot width :type word :default 10)
  (defslot height :type word :default 5)
  (define (area) (* width height)))

(define obj-square (new-class 'obj-square obj-rect))
(obj-square
  (define (paint) (list 'square (overriden color))))

(define r (make-instance obj-rect))
(r (set! name 'rect-1))
(define sq (make-instance obj-square))
(sq (set! name 'square-1) (set! color 'red))

(check (superclass obj-rect) obj-shape)
(check (superclass obj-shape) obj-root)
(check (ascendants obj-rect) (list obj-named obj-colored obj-shape))
(check (genealogy obj-square) (list obj-square obj-rect obj-named obj-colored obj-shape obj-root))
(check (type-of sq) 'obj-square)
(check (list (type? sq 'obj-named) (type? sq 'obj-shape) (type? r 'obj-square)) (list t t nil))
(check (string r) "#<rect-1>")

; The first superclass linked wins: obj-colored's paint, not obj-shape's.
(check (send r paint) '(colored black))
(check (send sq paint) '(square red))
(check (send sq area) 50)
(check (send r describe) '(named rect-1))
(check (send r move 3 -4) '(3 -4))

; --- Slots of every type

(check (r (list x y depth visible? selected? width height color)) (list 3 -4 1 t nil 10 5 'black))
(r (set! depth 200) (set! width 40000) (set! visible? nil) (set! selected? 'yes))
(check (r (list depth width visible? selected?)) (list -56 -25536 nil t))
(r (set! depth 3) (set! width 12))
(check (send r area) 60)
(check (object-slots r) '(name color x y depth visible? selected? parts width height))
(check (r (slot-type 'depth)) 'byte)
(check (sq (slot-default 'color)) 'black)
(check (obj-rect width) 10)

; --- Redefinitions after the subclasses exist

(obj-shape (define (area) -1))
(check (send r area) 60)
(obj-rect (define (area) (+ width height)))
(check (send r area) 17)
(check (send sq area) 15)
(obj-colored (define (paint) (list 'recolored color)))
(check (send r paint) '(recolored black))
(check (send sq paint) '(square red))
(obj-shape (define (hide) (set! visible? nil) 'hidden))
(check (send sq hide) 'hidden)
(check (sq visible?) nil)

; --- Overrides

(sq (add-override 'area (lambda () (list 'overridden ((overriden area))))))
(check (send sq area) '(overridden 15))
(sq (remove-override 'area))
(check (send sq area) 15)

; --- Link slots

(define Registry nil)
(define (find-link _key _slot) (cdr (assq _key Registry)))
; A laid-out class takes no new slot: link slots go to a new subclass.
(define obj-anchored (new-class 'obj-anchored obj-square))
(obj-anchored (defslot anchor :link? t :default nil))
(define target (make-instance obj-rect))
(target (set! name 'target))
(set! Registry (list (cons 'target target)))
(define holder (make-instance obj-anchored))
(holder (set-reference! 'anchor 'target))
(check (holder (linked? 'anchor)) nil)
(check (send (holder anchor) area) 15)
(check (holder (linked? 'anchor)) t)
(check (holder (get-reference 'anchor)) 'target)

; --- After collections

(churn 30000)
(recycle 0)
(check (send r area) 17)
(check (send sq paint) '(square red))
(check (r (list depth width visible? selected? x y)) (list 3 12 nil t 3 -4))
(check (holder anchor) target)
(obj-named (define (describe) (list 'renamed name)))
(recycle 0)
(check (send sq describe) '(renamed square-1))
(check (string sq) "#<square-1>")
(check (list (object? r) (class? r) (instance? r) (class? obj-rect)) (list t nil t t))
