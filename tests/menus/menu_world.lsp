; A small world for menu tests: a menu class with the slots the run-time
; reads, `select` and `update` that print what reaches them, and one call
; that makes and opens a menu.

; What reached the menus, latest first; each line is also printed.
(define Log nil)
(define (note . _words)
  (set! Log (cons _words Log))
  (prin (car _words))
  (for-each (lambda (_w) (prin " ") (prin _w)) (cdr _words))
  (new-line))

(define obj-test-menu (new-class 'obj-test-menu obj-menu))
(obj-test-menu
  (defslot name :default nil)
  (defslot parent :default nil)
  (defslot title :default "")
  (defslot accelerator :default nil)
  (defslot before-menu :default nil)
  (defslot checked? :default nil)
  (defslot item? :default nil)
  (defslot popup? :default nil)
  (defslot separator? :default nil)
  (defslot font? :default nil)
  (defslot color :default nil)
  (define (print-self) (string name))
  (define (select _x) (note name 'select))
  (define (update) (note name 'update)))

; (make-menu name parent title slot value ...): the slots are set before
; the menu is opened.
(define (make-menu _name _parent _title . _settings)
  (let ((_m (make-instance obj-test-menu)))
    (_m (set! name _name) (set! parent _parent) (set! title _title))
    (while _settings
      (eval (list _m (list 'set! (car _settings) (list 'quote (cadr _settings)))))
      (set! _settings (cddr _settings)))
    (_m (link-object) (open))
    _m))

(define (make-item _name _parent _title . _settings)
  (apply make-menu (append (list _name _parent _title 'item? t) _settings)))
