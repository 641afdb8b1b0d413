; The demo title's look and its navigation bar.
;
; Every page gets the same bar at its foot (through the world's page hooks):
; Previous and Next buttons and the page's number.

(define Demo-Background "#f4f1ea")
(define Demo-Ink "#20324f")
(define Demo-Accent "#c8641e")

; The texts given, one a line, for a caption.
(define (lines . _texts)
  (apply string-append (map (lambda (_text) (string-append _text (string (char 13)))) _texts)))

(define (page-number-text _name)
  (string-append "Page " (string (+ 1 (page-index _name))) " of " (string (length Pages))))

(define (add-navigation-bar _name)
  (build-window
    (list 'view 'navigation :position ''(0 bottom) :size ''(full 44) :color "#e2dccf"
          (list 'button 'previous :position ''(16 9) :size ''(100 26) :title "Previous"
                :action '(lambda (_b) (previous-page)))
          (list 'caption 'page-number :position ''(center 13) :size ''(160 20)
                :title (page-number-text _name) :alignment ''center :color "#e2dccf"
                :color-fore Demo-Ink)
          (list 'button 'next :position ''(-16 9) :size ''(100 26) :title "Next"
                :action '(lambda (_b) (next-page))))
    Current-Page)
  (if (= (page-index _name) 0) (send (window '(navigation previous)) disable))
  (if (= (+ 1 (page-index _name)) (length Pages)) (send (window '(navigation next)) disable)))

(set! Page-Hooks (append Page-Hooks (list add-navigation-bar)))

; Each page shown is told on the terminal, so that a tour leaves a log.
(define (announce-page _name)
  (prin (string-append "Orvane Demo: " (page-number-text _name) ", " (string _name)))
  (new-line))

(set! Page-Hooks (append Page-Hooks (list announce-page)))

; A thin border round a panel, drawn in its on-paint.
(define (paint-border _w)
  (let ((_size (send _w get-size)))
    (send _w set-fore-color (symbolic-color "#b8ae9c"))
    (send _w frame-rect (list 0 0 (point-x _size) (point-y _size)))))
