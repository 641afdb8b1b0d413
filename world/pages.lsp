; The standard world: pages and the navigation between them.
;
;   (define-page home
;     (:title "Home" :color 'white)
;     (caption greeting :position '(20 20) :size '(300 24) :title "Hello")
;     (button next :position '(20 60) :size '(90 24) :title "Next"
;             :action (lambda (_b) (next-page))))
;
; The first list holds the page's own properties; each following list is a
; window: its kind, its name, then keywords and values (evaluated when the
; page is shown) and, after them or among them, the windows inside it.
; Pages are shown in the order they were defined by next-page and
; previous-page, or by name with go-page.

(define Root ())               ; the root window: the frame's client area
(define Pages ())              ; (name . (properties windows...)) in definition order
(define Current-Page ())       ; the page window shown
(define Current-Page-Name ())
(define Page-Hooks ())         ; functions called with the page's name after it is shown

(define define-page
  (syntax (_form)
    (let ((_name (car _form)))
      (set! Pages (append (remove-page-spec _name Pages) (list (cons _name (cdr _form)))))
      _name)))

(define (remove-page-spec _name _pages)
  (collect-if (lambda (_entry) (not (eq? (car _entry) _name))) _pages))

(define (page-names) (map car Pages))

(define (open-root)
  (if (null? Root)
      (set! Root (make-window 'view 'root () ())))
  Root)

; Shows the page of that name in place of the current one.
(define (go-page _name)
  (let ((_spec (assq _name Pages)))
    (if (null? _spec) (error-subr _name))
    (open-root)
    (close-page)
    (let ((_properties (cadr _spec)))
      (if (not (memq :size _properties)) (set! _properties (append _properties (list :size ''full))))
      (if (not (memq :position _properties)) (set! _properties (append _properties (list :position ''(0 0)))))
      (set! Current-Page (build-window (cons 'page (cons _name (append _properties (cddr _spec)))) Root)))
    (set! Current-Page-Name _name)
    (for-each (lambda (_hook) (_hook _name)) Page-Hooks)
    Current-Page))

(define (close-page)
  (if (and Current-Page (Current-Page (object-opened?)))
      (send Current-Page destroy))
  (set! Current-Page ())
  (set! Current-Page-Name ()))

(define (page-index _name)
  (let ((_i 0) (_names (page-names)) (_found ()))
    (while (and _names (not _found))
      (if (eq? (car _names) _name) (set! _found _i))
      (set! _i (+ _i 1))
      (set! _names (cdr _names)))
    _found))

(define (next-page)
  (let ((_i (page-index Current-Page-Name)))
    (if (and _i (< (+ _i 1) (length Pages)))
        (go-page (car (list-ref Pages (+ _i 1))))
        ())))

(define (previous-page)
  (let ((_i (page-index Current-Page-Name)))
    (if (and _i (> _i 0))
        (go-page (car (list-ref Pages (- _i 1))))
        ())))

(define (first-page) (if Pages (go-page (car (car Pages))) ()))
