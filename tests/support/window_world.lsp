; A tiny world for window titles in tests: the conversion functions the
; window layer calls, a window class whose handlers print what they receive,
; and helpers that make, open and show windows in one call.
;
; Each recorder prints one line: the window's label, the message and its
; arguments, e.g. "w1 mouse-down-system 10 20".

(define (say . _items)
  (while _items
    (prin (car _items))
    (set! _items (cdr _items))
    (if _items (prin " ")))
  (new-line))

; Runs the event pump until the script ends (its end quits the run).
(define (pump-forever) (while t (wait-key 1000)))

; --- The conversions: plain values

; A point made by make-point, or a list (a b).
(define (as-point _v)
  (cond ((and (pair? _v) (pair? (cdr _v))) (make-point (car _v) (cadr _v)))
        (t _v)))

(define (symbolic-size _v) (as-point _v))
(define (symbolic-position _v _size _type) (as-point _v))
(define (symbolic-type _v) _v)
(define (symbolic-font _v) _v)
(define (symbolic-alignment _v) _v)

(define Named-Colors
  '((white 65535 65535 65535) (black 0 0 0) (red 65535 0 0) (green 0 65535 0)
    (blue 0 0 65535) (gray 32768 32768 32768) (yellow 65535 65535 0)))

(define (symbolic-color _v)
  (cond ((symbol? _v) (cdr (assq _v Named-Colors)))
        (t _v)))

; --- The window class: the recorders and slots in a mixin, so that a
; test's own native window class can have them too.

(define obj-test-handlers (new-mixin 'obj-test-handlers))

(obj-test-handlers
  (defslot label :default nil)
  (defslot parent :default nil)
  (defslot handles-keys? :default nil)
  (defslot handles-mouse? :default t)
  (defslot thickness :default nil)
  (defslot transparent? :default nil)
  (defslot closed-zone? :default nil)
  (defslot draggable? :default nil)
  (defslot color-ref :default nil)
  (defslot color-fore-ref :default nil)
  ; How many times window-paint arrived.
  (defslot paints :default 0)

  (define (window-paint)
    (set! paints (+ paints 1))
    (if Say-Paints? (say label 'window-paint)))
  (define (default-mouse-down _x _y) (say label 'default-mouse-down _x _y))
  (define (expose) (say label 'expose))
  (define (deexpose) (say label 'deexpose))
  (define (show-event) (say label 'show-event))
  (define (hide-event) (say label 'hide-event))
  (define (mouse-down-system _x _y)
    (say label 'mouse-down-system _x _y)
    (mouse-down _x _y))
  (define (mouse-up-system _x _y) (say label 'mouse-up-system _x _y))
  (define (mouse-move-system _x _y) (if Say-Moves? (say label 'mouse-move-system _x _y)))
  (define (mouse-drag-system _x _y _dx _dy) (say label 'mouse-drag-system _x _y _dx _dy))
  (define (enter-mouse) (if Say-Moves? (say label 'enter-mouse)))
  (define (exit-mouse) (if Say-Moves? (say label 'exit-mouse)))
  (define (activate-cursor _x _y) ())
  (define (ready-mouse-drag? _x _y) draggable?)
  (define (get-draggable? _x _y) draggable?)
  (define (out-of-modal _x _y) (say label 'out-of-modal _x _y))
  (define (drag _x _y) (say label 'drag _x _y))
  (define (mouse-reposition _x _y) (say label 'mouse-reposition _x _y))
  (define (start-scroll) (say label 'start-scroll))
  (define (end-scroll) (say label 'end-scroll))
  (define (adjust-scroll) ())
  (define (edit-paint) (say label 'edit-paint))
  (define (frame-width) 1)
  (define (grow-rect-limits) ())
  (define (editor-selectable?) ())
  (define (select _arg) (say label 'select _arg)))

; The native class goes last: a class takes its native constructor from the
; last superclass linked.
(define obj-test-window (new-class 'obj-test-window obj-test-handlers obj-window))

(define Say-Paints? ())
(define Say-Moves? ())

; Makes every selector of the list print "label selector args..." before
; the class's own method runs (window by window: an override of the object).
(define (trace-messages _w _selectors)
  (while _selectors
    (_w (add-override (car _selectors)
          (eval (list 'lambda '_args
                      (list 'apply 'say (list 'cons 'label (list 'cons (list 'quote (car _selectors)) '_args)))
                      (list 'apply (list 'overriden (car _selectors)) '_args)))))
    (set! _selectors (cdr _selectors))))

; Sets slots from a list (name value name value ...).
(define (set-slots _w _slots)
  (while _slots
    (_w (eval (list 'set! (car _slots) (list 'quote (cadr _slots)))))
    (set! _slots (cddr _slots))))

; A window of the class Window-Class (the test class unless a test sets
; another) with the label, the parent (nil for the root),
; the creation arguments (:size (w h) :position (x y) ...) and the slots
; (name value ...); configured, not opened.
(define Window-Class obj-test-window)
(define (make-window _label _parent _initargs . _slots)
  (let ((_w (make-instance Window-Class)))
    (_w (set! label _label) (set! parent _parent))
    (set-slots _w _slots)
    (send _w link-object)
    (send _w setup-constructor _initargs)
    _w))

(define (open-window _label _parent _initargs . _slots)
  (let ((_w (apply make-window (cons _label (cons _parent (cons _initargs _slots))))))
    (send _w open)
    _w))

(define (show-window _label _parent _initargs . _slots)
  (let ((_w (apply open-window (cons _label (cons _parent (cons _initargs _slots))))))
    (send _w show)
    _w))

; The root window and a shown page of the given size: Root and Page.
(define Root ())
(define Page ())
(define (open-page _width _height)
  (set! Root (open-window 'root () ()))
  (set! Page (show-window 'page Root (list :size (list _width _height) :color 'white))))

; --- Errors

(define obj-error-catcher (new-class 'obj-error-catcher))
(obj-error-catcher
  (define (error-trap _class _code _culprit _self _a _b)
    (throw 'caught-error (if (= _code 0) _culprit _code))))
(define Error-Catcher (make-instance obj-error-catcher))

; Calls the function of no arguments; answers the code of the error it
; raised (the text of a reported message), or no-error.
(define (error-of _thunk)
  (let ((_saved (if (bound? 'Error-Handler) Error-Handler ()))
        (_got ()))
    (set! Error-Handler Error-Catcher)
    (set! _got (unwind-protect (catch 'caught-error (_thunk) 'no-error)
                               (set! Error-Handler _saved)))
    _got))
