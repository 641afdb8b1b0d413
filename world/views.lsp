; The standard world: the behaviour every window of a title shares, and the
; window classes a page is made of.
;
; The run-time sends a window object many messages (paints, mouse and key
; events, activation, scrolling ...). `obj-standard` answers each of them
; with the usual default, so a title's class only writes what differs. A few
; slots let a title attach behaviour without a class of its own:
;
;   action    (lambda (_window) ...)          on select (a click on a control, a menu item)
;   on-paint  (lambda (_window) ...)          drawing, inside the window's paint
;   on-click  (lambda (_window _x _y) ...)    a press inside the window
;   on-key    (lambda (_window _char) ...)    a character typed while it has the key focus
;   on-font   (lambda (_window _face) ...)    a face chosen in a font menu while it has the key focus
;   cursor    a cursor shape shown over the window (arrow, ibeam, cross, ...)

(define obj-standard (new-mixin 'obj-standard))

(obj-standard
  ; What the window layer reads in the window's context.
  (defslot parent :default ())
  (defslot page-parent :default ())
  (defslot owners-inited? :default t)
  (defslot inherit-configuration? :default ())
  (defslot handles-keys? :default ())
  (defslot handles-mouse? :default t)
  (defslot thickness :default ())
  (defslot transparent? :default ())
  (defslot closed-zone? :default ())
  (defslot color-ref :default ())
  (defslot color-fore-ref :default ())
  ; The world's own.
  (defslot name :default ())
  (defslot kind :default ())
  (defslot cursor :default 'arrow)
  (defslot action :default ())
  (defslot on-paint :default ())
  (defslot on-click :default ())
  (defslot on-key :default ())
  (defslot on-font :default ())
  (defslot frame :default 1)

  (define (print-self) (string-append "#<" (string kind) " " (string name) ">"))
  (define (window-paint) (if on-paint (on-paint (self))))
  (define (default-mouse-down _x _y) (if on-click (on-click (self) _x _y)))
  (define (key-down _char) (if on-key (on-key (self) _char)))
  (define (select _arg) (if action (action (self))))
  (define (set-text-font _face) (if on-font (on-font (self) _face)))

  (define (mouse-down-system _x _y) (mouse-down _x _y))
  (define (mouse-up-system _x _y) (mouse-up _x _y))
  (define (mouse-move-system _x _y) (mouse-move _x _y))
  (define (mouse-drag-system _x _y _dx _dy) (mouse-drag _x _y))
  (define (activate-cursor _x _y) (set-cursor cursor))
  (define (enter-mouse) ())
  (define (exit-mouse) ())
  (define (ready-mouse-drag? _x _y) ())
  (define (get-draggable? _x _y) ())
  (define (drag _x _y) ())
  (define (mouse-reposition _x _y) ())
  (define (out-of-modal _x _y) ())

  (define (expose) ())
  (define (deexpose) ())
  (define (show-event) ())
  (define (hide-event) ())
  (define (start-scroll) ())
  (define (end-scroll) ())
  (define (adjust-scroll) ())
  (define (edit-paint) ())
  (define (frame-width) frame)
  (define (grow-rect-limits) ())
  (define (editor-selectable?) ())
  (define (get-alignment) 0)
  (define (update) ())
  (define (init-owners _configuration _from) ())
  (define (find-page-constructor _page) ()))

; A window to draw in: give it on-paint, or subclass it and define window-paint.
(define obj-view (new-class 'obj-view obj-standard obj-window))

; A page: the window that fills the frame and holds a screen of the title.
(define obj-page (new-class 'obj-page obj-standard obj-window))

; The controls, when the run-time has them.
(define World-Kinds (list (cons 'view obj-view) (cons 'canvas obj-view) (cons 'page obj-page)))

(define (add-kind _kind _class) (set! World-Kinds (cons (cons _kind _class) World-Kinds)))

(define (kind-class _kind)
  (let ((_entry (assq _kind World-Kinds)))
    (if _entry (cdr _entry) (world-error "unknown window kind" _kind))))

(if (bound? 'obj-button)
    (begin
      (define obj-push-button (new-class 'obj-push-button obj-standard obj-button))
      (add-kind 'button obj-push-button)))
(if (bound? 'obj-checkbox)
    (begin
      (define obj-check-box (new-class 'obj-check-box obj-standard obj-checkbox))
      ; The title starts this far past the box.
      (obj-check-box (defslot margin :default 4))
      (add-kind 'checkbox obj-check-box)))
(if (bound? 'obj-choice)
    (begin
      (define obj-radio-choice (new-class 'obj-radio-choice obj-standard obj-choice))
      (add-kind 'choice obj-radio-choice)))
(if (bound? 'obj-caption)
    (begin
      (define obj-label (new-class 'obj-label obj-standard obj-caption))
      (obj-label
        (defslot margin :default 0)
        (defslot margin-top :default 0)
        (defslot single-line? :default ())
        (defslot alignment :default 'left)
        (define (get-alignment) (symbolic-alignment alignment)))
      (add-kind 'caption obj-label)))
(if (bound? 'obj-picture)
    (begin
      (define obj-picture-view (new-class 'obj-picture-view obj-standard obj-picture))
      (obj-picture-view
        (defslot auto-size? :default ())
        (defslot scale-to-fit? :default ())
        (defslot content :default ())
        (defslot picture-record :default ())
        (defslot picture-resource :default ())
        (defslot real-pathname :default ())
        (define (frame-width) 0))
      (add-kind 'picture obj-picture-view)))

; --- Making windows

; The window properties given to the window layer (through the window's
; configuration); any other keyword names a slot of the window's class.
(define Window-Properties
  '(:title :effect :size :type :position :color :color-fore :font :floating? :close-box?
    :frame? :erase? :opaque? :scroll? :grow-icon? :hide-on-close? :can-double-click?
    :transfer-mode :virtual-rect :zoom-factor :default? :3d? :fast-update?))

(define (property-keyword? _key) (memq _key Window-Properties))

; Sets a slot of the window (or menu) by name; a name its class lacks is
; an error rather than a global variable set by mistake.
(define (set-window-slot _w _slot _value)
  (if (not (_w (slot-exists? _slot))) (world-error "unknown property" _slot))
  (_w (eval (list 'set! _slot (list 'quote _value)))))

; Makes, opens and shows a window: kind (view, button, caption ...), name
; (a symbol, for `named`), parent window (nil for the root), and a list
; (keyword value ...) whose values are already evaluated.
; Windows erase their background (their :color) unless they say :erase? ().
(define (make-window _kind _name _parent _plist)
  (let ((_w (make-instance (kind-class _kind)))
        (_initargs (if (memq :erase? _plist) () (list :erase? t))))
    (_w (set! parent _parent) (set! kind _kind))
    (while _plist
      (let ((_key (car _plist)) (_value (cadr _plist)))
        (if (property-keyword? _key)
            (set! _initargs (cons _key (cons _value _initargs)))
            (set-window-slot _w (keyword->symbol _key) _value)))
      (set! _plist (cddr _plist)))
    (send _w link-object)
    (if _name (send _w set-name _name))
    (send _w setup-constructor _initargs)
    (send _w open)
    _w))

; A window spec (kind name key value-form ... child-spec ...): the values are
; evaluated now; the children are made inside the window, after it.
(define (build-window _spec _parent)
  (let ((_kind (car _spec))
        (_name (cadr _spec))
        (_rest (cddr _spec))
        (_plist ())
        (_children ())
        (_w ()))
    (while _rest
      (if (pair? (car _rest))
          (begin (set! _children (cons (car _rest) _children))
                 (set! _rest (cdr _rest)))
          (begin (set! _plist (cons (eval (cadr _rest)) (cons (car _rest) _plist)))
                 (set! _rest (cddr _rest)))))
    (set! _w (make-window _kind _name _parent (reverse _plist)))
    (send _w show)
    (for-each (lambda (_child) (build-window _child _w)) (reverse _children))
    _w))

; The window named so in the current page (a symbol, or a path of names).
(define (window _name) (if Current-Page (send Current-Page named _name) ()))
