; The installed faces and the font dialog.

; Fonts: strings, sorted with string<?, each name once
(define (sorted-and-unique? _l)
  (cond ((null? _l) t)
        ((null? (cdr _l)) t)
        ((string<? (car _l) (cadr _l)) (sorted-and-unique? (cdr _l)))
        (t nil)))
(check (sorted-and-unique? Fonts) t)
(check (pair? Fonts) t)
(check (string? (car Fonts)) t)
(check (pair? (member "Arial" Fonts)) t)
(check (pair? (member "Wingdings" Fonts)) t)

; Without a dialog, choose-font answers as a cancelled one
(check (choose-font (new-ptr 60)) nil)
