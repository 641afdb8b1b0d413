; The standard world: the symbolic vocabulary of window properties.
;
; The window layer converts every property it reads through these
; functions, so a title may write positions, sizes, colours, fonts and
; alignments the way they read best:
;
;   :size     (200 100)   a point   full   (full 40)   (50% 30)
;   :position (10 20)     a point   center   (center 40)   (-10 -10)
;             right, bottom, left, top, center in either place; a negative
;             number counts from the parent's right or bottom edge
;   :color    white  (rgb 255 128 0)  "#ff8000"  (65535 32896 0)
;   :font     ("Arial" 12 bold italic)  system  (title 18)
;   :type     plain  bordered  titled  dialog  sizable  palette, or a number

; --- Utilities

(define (world-point? _v) (and (pair? _v) (integer? (car _v)) (integer? (cdr _v))))

(define (clamp _v _low _high) (max _low (min _high _v)))

; The size of the window being opened's parent: the page for windows in it,
; the root (the frame's client area) for a page.
(define (parent-size)
  (cond ((and (bound? 'parent) parent (parent (object-opened?))) (send parent get-size))
        (else (make-point (desktop-frame-width) (desktop-frame-height)))))

; --- Sizes

; A percentage written as the symbol 50% or a number.
(define (size-part _v _whole)
  (cond ((integer? _v) _v)
        ((eq? _v 'full) _whole)
        ((symbol? _v)
         (let ((_text (symbol->string _v)))
           (if (and (> (string-length _text) 1)
                    (eqv? (string-ref _text (- (string-length _text) 1)) #\%))
               (quotient (* _whole (string->int (substring _text 0 (- (string-length _text) 1)))) 100)
               (error-subr _v))))
        (else (error-subr _v))))

(define (symbolic-size _v)
  (cond ((world-point? _v) _v)
        ((null? _v) (make-point 100 100))
        ((eq? _v 'full) (parent-size))
        ((pair? _v)
         (let ((_whole (parent-size)))
           (make-point (size-part (car _v) (point-x _whole))
                       (size-part (cadr _v) (point-y _whole)))))
        (else (error-subr _v))))

; --- Positions

(define (position-part _v _size _whole)
  (cond ((and (integer? _v) (< _v 0)) (+ _whole _v (- _size)))
        ((integer? _v) _v)
        ((memq _v '(left top)) 0)
        ((memq _v '(right bottom)) (- _whole _size))
        ((memq _v '(center centre middle)) (quotient (- _whole _size) 2))
        (else (error-subr _v))))

(define (symbolic-position _v _size _type)
  (cond ((world-point? _v) _v)
        ((null? _v) (make-point 0 0))
        (else
         (let ((_whole (parent-size))
               (_x (if (pair? _v) (car _v) _v))
               (_y (if (pair? _v) (cadr _v) _v)))
           (make-point (position-part _x (point-x _size) (point-x _whole))
                       (position-part _y (point-y _size) (point-y _whole)))))))

; --- Window types

(define Window-Types
  '((sizable . 0) (dialog . 1) (bordered . 2) (thin . 3) (titled . 4) (palette . 4) (plain . 7)))

(define (symbolic-type _v)
  (cond ((integer? _v) _v)
        ((null? _v) 7)
        ((assq _v Window-Types) (cdr (assq _v Window-Types)))
        (else (error-subr _v))))

; --- Colours: lists of three components 0-65535

(define (rgb _r _g _b) (list (* _r 257) (* _g 257) (* _b 257)))

(define Named-Colors
  (list (cons 'white (rgb 255 255 255)) (cons 'black (rgb 0 0 0))
        (cons 'red (rgb 255 0 0)) (cons 'green (rgb 0 160 0)) (cons 'blue (rgb 0 0 255))
        (cons 'yellow (rgb 255 255 0)) (cons 'cyan (rgb 0 255 255)) (cons 'magenta (rgb 255 0 255))
        (cons 'orange (rgb 255 140 0)) (cons 'purple (rgb 128 0 128)) (cons 'brown (rgb 139 69 19))
        (cons 'navy (rgb 0 0 128)) (cons 'teal (rgb 0 128 128)) (cons 'maroon (rgb 128 0 0))
        (cons 'olive (rgb 128 128 0)) (cons 'silver (rgb 192 192 192))
        (cons 'gray (rgb 128 128 128)) (cons 'grey (rgb 128 128 128))
        (cons 'light-gray (rgb 211 211 211)) (cons 'dark-gray (rgb 64 64 64))
        (cons 'button-face (rgb 192 192 192)) (cons 'desktop (rgb 0 128 128))))

(define (hex-digit _c)
  (cond ((and (>= _c 48) (<= _c 57)) (- _c 48))
        ((and (>= _c 97) (<= _c 102)) (- _c 87))
        ((and (>= _c 65) (<= _c 70)) (- _c 55))
        (else (error-subr _c))))

(define (hex-byte _text _at)
  (+ (* 16 (hex-digit (string-ref _text _at))) (hex-digit (string-ref _text (+ _at 1)))))

(define (symbolic-color _v)
  (cond ((null? _v) (rgb 255 255 255))
        ((symbol? _v)
         (let ((_entry (assq _v Named-Colors)))
           (if _entry (cdr _entry) (error-subr _v))))
        ((and (string? _v) (= (string-length _v) 7) (eqv? (string-ref _v 0) #\#))
         (rgb (hex-byte _v 1) (hex-byte _v 3) (hex-byte _v 5)))
        ((and (pair? _v) (eq? (car _v) 'rgb)) (apply rgb (cdr _v)))
        ((and (pair? _v) (= (length _v) 3)) _v)
        (else (error-subr _v))))

; --- Fonts: (face size style-bits)

(define Font-Styles '((plain . 0) (bold . 1) (italic . 2) (underline . 4) (strike-out . 128)))
(define Font-Faces '((system . "Arial") (sans . "Arial") (serif . "Times New Roman") (mono . "Courier New") (title . "Arial")))
(define Default-Font-Size 12)

(define (style-bits _styles)
  (let ((_bits 0))
    (while _styles
      (let ((_entry (assq (car _styles) Font-Styles)))
        (if (null? _entry) (error-subr (car _styles)))
        (set! _bits (bit-or _bits (cdr _entry))))
      (set! _styles (cdr _styles)))
    _bits))

(define (font-face _v)
  (cond ((string? _v) _v)
        ((integer? _v) _v)
        ((assq _v Font-Faces) (cdr (assq _v Font-Faces)))
        (else (error-subr _v))))

(define (symbolic-font _v)
  (cond ((null? _v) (list "Arial" Default-Font-Size 0))
        ((symbol? _v) (list (font-face _v) (if (eq? _v 'title) 18 Default-Font-Size) 0))
        ((and (pair? _v) (pair? (cdr _v)) (pair? (cddr _v)) (integer? (caddr _v)) (null? (cdddr _v)))
         (list (font-face (car _v)) (cadr _v) (caddr _v)))
        ((pair? _v)
         (list (font-face (car _v))
               (if (pair? (cdr _v)) (cadr _v) Default-Font-Size)
               (if (pair? (cdr _v)) (style-bits (cddr _v)) 0)))
        (else (error-subr _v))))

; --- Alignments: text-box justification codes

(define Horizontal-Alignments '((left . 0) (center . 1) (centre . 1) (right . 2)))
(define Vertical-Alignments '((top . 0) (middle . 4) (center . 4) (centre . 4) (bottom . 8)))

(define (symbolic-alignment _v)
  (cond ((integer? _v) _v)
        ((null? _v) 0)
        ((symbol? _v) (cdr (or (assq _v Horizontal-Alignments) (cons () (error-subr _v)))))
        ((pair? _v)
         (+ (cdr (or (assq (car _v) Horizontal-Alignments) (cons () (error-subr (car _v)))))
            (if (pair? (cdr _v))
                (cdr (or (assq (cadr _v) Vertical-Alignments) (cons () (error-subr (cadr _v)))))
                0)))
        (else (error-subr _v))))

; --- Cursors

(define Cursor-Shapes
  '((arrow . 0) (ibeam . 1) (text . 1) (cross . 2) (wait . 4) (watch . 4)
    (size-we . 11) (size-ns . 12) (size-nwse . 13) (size-nesw . 14)))

(define (symbolic-cursor _v)
  (cond ((integer? _v) _v)
        ((null? _v) 0)
        ((assq _v Cursor-Shapes) (cdr (assq _v Cursor-Shapes)))
        (else (error-subr _v))))
