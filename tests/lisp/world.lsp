; The standard world's vocabulary as plain Lisp: the conversions that need
; no window (colours, fonts, alignments, types, cursors, points), loaded
; from the world's own files in their order.

(for-each load (list "conversions.lsp" "views.lsp" "pages.lsp" "menus.lsp" "toplevel.lsp"))

; --- Colours: lists of three 16-bit components
(check (symbolic-color 'white) '(65535 65535 65535))
(check (symbolic-color 'black) '(0 0 0))
(check (symbolic-color (rgb 255 128 0)) '(65535 32896 0))
(check (symbolic-color '(rgb 255 128 0)) '(65535 32896 0))
(check (symbolic-color "#FF8000") '(65535 32896 0))
(check (symbolic-color "#ff8000") (symbolic-color "#FF8000"))
(check (symbolic-color '(1 2 3)) '(1 2 3))
(check (equal? (symbolic-color 'grey) (symbolic-color 'gray)) t)
(check-error (symbolic-color 'pruple) 0)
(check-error (symbolic-color "#ff80") 0)
(check-error (symbolic-color "#gg0000") 0)

; --- Fonts: (face size style-bits)
(check (symbolic-font '("Arial" 12 bold italic)) '("Arial" 12 3))
(check (symbolic-font '("Arial" 12 5)) '("Arial" 12 5))
(check (symbolic-font '(serif 14 underline)) '("Times New Roman" 14 4))
(check (symbolic-font '(mono 10)) '("Courier New" 10 0))
(check (car (symbolic-font 'system)) "Arial")
(check-error (symbolic-font '("Arial" 12 heavy)) 0)
(check-error (symbolic-font 'nosuchface) 0)

; --- Alignments: text-box justification codes
(check (map symbolic-alignment '(left center right)) '(0 1 2))
(check (symbolic-alignment '(center middle)) 5)
(check (symbolic-alignment '(right bottom)) 10)
(check (symbolic-alignment 9) 9)
(check-error (symbolic-alignment 'sideways) 0)

; --- Window types and cursors
(check (map symbolic-type '(sizable dialog bordered titled palette plain 3)) '(0 1 2 4 4 7 3))
(check (symbolic-type ()) 7)
(check-error (symbolic-type 'round) 0)
(check (map symbolic-cursor '(arrow ibeam cross wait 200)) '(0 1 2 4 200))
(check-error (symbolic-cursor 'hand) 0)

; --- Points pass through; a point is (y . x)
(check (symbolic-size (make-point 30 20)) (make-point 30 20))
(check (symbolic-position (make-point 5 6) (make-point 10 10) 2) (make-point 5 6))

; --- The kinds of windows a page is made of
(check (kind-class 'view) obj-view)
(check (kind-class 'page) obj-page)
(check (kind-class 'button) obj-push-button)
(check (ascendants obj-push-button) (list obj-standard obj-button))
(check-error (kind-class 'slider) 0)
