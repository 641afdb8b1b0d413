; The standard world: the menu bar.
;
;   (define-menus
;     (menu file "File"
;       (item open "Open..." :key "O" :action (lambda (_item) (open-something)))
;       (separator)
;       (item quit "Quit" :key "Q" :action (lambda (_item) (do-quit))))
;     (menu fonts "Font" :font? t))
;
; A menu holds items, separators and menus (sub-menus). An item's :key is
; its Control accelerator; :action is called with the item when it is
; chosen; :checked? and :enabled? set its state (the item's object answers
; check, uncheck, enable and disable). A menu with :font? t lists the
; installed fonts; choosing one sends set-text-font to the window with the
; key focus. The title's frame shows a menu bar when its manifest's flags
; say menu-bar.

(define obj-world-menu (new-class 'obj-world-menu obj-menu))

(obj-world-menu
  (defslot name :default ())
  (defslot parent :default ())
  (defslot title :default "")
  (defslot accelerator :default ())
  (defslot before-menu :default ())
  (defslot checked? :default ())
  (defslot item? :default ())
  (defslot popup? :default ())
  (defslot separator? :default ())
  (defslot apple? :default ())
  (defslot font? :default ())
  (defslot color :default ())
  (defslot action :default ())
  (define (print-self) (string-append "#<menu " (string name) ">"))
  (define (select _arg) (if action (action self))))

(define Menu-Root ())
(define Menu-Bar ())
(define Menus ())              ; (name . menu object) of every menu and item made

(define (make-menu-object _name _parent _title _plist)
  (let ((_m (make-instance obj-world-menu)) (_enabled t))
    (_m (set! name _name) (set! parent _parent) (set! title _title))
    (while _plist
      (let ((_key (car _plist)) (_value (cadr _plist)))
        (cond ((eq? _key :key) (_m (set! accelerator (list :menu _value))))
              ((eq? _key :enabled?) (set! _enabled _value))
              (else (set-window-slot _m (keyword->symbol _key) _value))))
      (set! _plist (cddr _plist)))
    (_m (link-object) (open))
    (if (not _enabled) (send _m disable))
    (if _name (set! Menus (cons (cons _name _m) Menus)))
    _m))

(define (menu-root)
  (if (null? Menu-Root)
      (begin
        (set! Menu-Root (make-menu-object 'menu-root () "" ()))
        (set! Menu-Bar (make-menu-object 'menu-bar Menu-Root "" ()))))
  Menu-Bar)

; (kind name title key value-form ... child ...) with kind menu, item or separator.
(define (build-menu _spec _parent)
  (let ((_kind (car _spec)))
    (if (eq? _kind 'separator)
        (make-menu-object () _parent "-" (list :item? t :separator? t))
        (let ((_name (cadr _spec))
              (_title (caddr _spec))
              (_rest (cdddr _spec))
              (_plist ())
              (_children ())
              (_m ()))
          (while _rest
            (if (pair? (car _rest))
                (begin (set! _children (cons (car _rest) _children))
                       (set! _rest (cdr _rest)))
                (begin (set! _plist (cons (eval (cadr _rest)) (cons (car _rest) _plist)))
                       (set! _rest (cddr _rest)))))
          (set! _plist (reverse _plist))
          (if (eq? _kind 'item) (set! _plist (cons :item? (cons t _plist))))
          (set! _m (make-menu-object _name _parent _title _plist))
          (for-each (lambda (_child) (build-menu _child _m)) (reverse _children))
          (if (and (eq? _kind 'menu) (send _m get-font?)) (send _m add-font-items))
          (if (eq? _kind 'menu) (send _m show))
          _m))))

(define define-menus
  (syntax (_specs)
    (let ((_bar (menu-root)))
      (for-each (lambda (_spec) (build-menu _spec _bar)) _specs)
      (send _bar show)
      _bar)))

; The menu or item made with that name.
(define (menu _name) (cdr (or (assq _name Menus) (cons () ()))))
