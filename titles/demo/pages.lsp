; The demo title's pages, in the order Page Down shows them.

(define-menus
  (menu file "File"
    (item about "About Orvane" :action (lambda (_item) (go-page 'welcome)))
    (separator)
    (item quit "Quit" :key "Q" :action (lambda (_item) (do-quit))))
  (menu go "Go"
    (item welcome "Welcome" :key "1" :action (lambda (_item) (go-page 'welcome)))
    (item controls "Controls" :key "2" :action (lambda (_item) (go-page 'controls)))
    (item drawing "Drawing and text" :key "3" :action (lambda (_item) (go-page 'drawing)))
    (item pictures "Pictures" :key "4" :action (lambda (_item) (go-page 'pictures)))
    (item scores "Scores" :key "5" :action (lambda (_item) (go-page 'scores))))
  (menu fonts "Font" :font? t))

; --- Welcome

(define Welcome-Text
  "Orvane plays the titles of a 1990s Lisp multimedia system on today's machines. This demo is such a title, written with Orvane's standard world: every page is a short declaration of its windows.")

(define-page welcome
  (:color Demo-Background)
  (caption heading :position '(24 16) :size '(-48 36) :title "Welcome to Orvane"
           :font '("Arial" 22 bold) :color Demo-Background :color-fore Demo-Ink)
  (view logo :position '(-32 72) :size '(96 96) :color Demo-Background
        :on-paint (lambda (_w) (send _w draw-picture (getresource "PICT" 129) '(0 . 0) () ())))
  (caption intro :position '(24 76) :size '(440 110) :title Welcome-Text
           :font '("Arial" 14) :color Demo-Background :color-fore Demo-Ink)
  (caption keys :position '(24 210) :size '(-48 100) :font '("Arial" 13) :color Demo-Background
           :color-fore Demo-Accent
           :title "Page Down and Page Up turn the pages. Ctrl+1 to Ctrl+5 jump to a page (the Go menu). Ctrl+Q quits.")
  (caption contents-title :position '(24 270) :size '(300 22) :title "In this demo" :font '("Arial" 14 bold)
           :color Demo-Background :color-fore Demo-Ink)
  (caption contents :position '(24 298) :size '(-48 110) :font '("Arial" 13) :color Demo-Background
           :color-fore Demo-Ink
           :title (lines "2  Controls: buttons, check boxes and choices"
                         "3  Drawing and text in a view's on-paint"
                         "4  Pictures packed from PNG files"
                         "5  Scores kept in a record database")))

; --- Controls

(define Difficulty 'normal)
(define Level-Names '((easy . "Easy") (normal . "Normal") (hard . "Hard")))

(define (option-text _name _on) (if _on (string-append _name " on") (string-append _name " off")))

(define (show-settings)
  (send (window 'summary) set-title
        (string-append (option-text "Sound" (send (window '(options sound)) get-content)) ", "
                       (option-text "Subtitles" (send (window '(options subtitles)) get-content)) ", "
                       (cdr (assq Difficulty Level-Names)) " level")))

(define (choose-difficulty _level) (set! Difficulty _level) (show-settings))

(define-page controls
  (:color Demo-Background)
  (caption heading :position '(24 16) :size '(-48 36) :title "Buttons, check boxes and choices"
           :font '("Arial" 22 bold) :color Demo-Background :color-fore Demo-Ink)
  (view options :position '(24 70) :size '(270 150) :color "#ffffff" :on-paint paint-border
        (caption options-title :position '(12 8) :size '(240 20) :title "Options" :font '("Arial" 13 bold)
                 :color "#ffffff" :color-fore Demo-Ink)
        (checkbox sound :position '(12 40) :size '(200 22) :title "Sound" :color "#ffffff"
                  :action (lambda (_b) (show-settings)))
        (checkbox subtitles :position '(12 70) :size '(200 22) :title "Subtitles" :color "#ffffff"
                  :action (lambda (_b) (show-settings))))
  (view levels :position '(-24 70) :size '(270 150) :color "#ffffff" :on-paint paint-border
        (caption levels-title :position '(12 8) :size '(240 20) :title "Level" :font '("Arial" 13 bold)
                 :color "#ffffff" :color-fore Demo-Ink)
        (choice easy :position '(12 40) :size '(200 22) :title "Easy" :color "#ffffff"
                :action (lambda (_b) (choose-difficulty 'easy)))
        (choice normal :position '(12 70) :size '(200 22) :title "Normal" :color "#ffffff"
                :action (lambda (_b) (choose-difficulty 'normal)))
        (choice hard :position '(12 100) :size '(200 22) :title "Hard" :color "#ffffff"
                :action (lambda (_b) (choose-difficulty 'hard))))
  (caption summary :position '(24 244) :size '(-48 24) :title "" :font '("Arial" 14)
           :color Demo-Background :color-fore Demo-Accent)
  (button reset :position '(24 284) :size '(120 28) :title "Reset"
          :action (lambda (_b)
                    (send (window '(options sound)) set-content ())
                    (send (window '(options subtitles)) set-content ())
                    (send (window '(levels normal)) set-content t)
                    (choose-difficulty 'normal))))

; --- Drawing and text

(define (paint-shapes _w)
  (send _w set-fore-color (symbolic-color Demo-Ink))
  (send _w frame-rect '(0 0 300 230))
  (send _w color-rect '(16 16 96 76) (symbolic-color "#e8b04a"))
  (send _w set-fore-color (symbolic-color 'navy))
  (send _w paint-oval '(112 16 192 76))
  (send _w set-fore-color (symbolic-color 'teal))
  (send _w paint-round-rect '(208 16 284 76) 16 16)
  (send _w set-fore-color (symbolic-color Demo-Accent))
  (send _w pen-size 3)
  (send _w frame-oval '(16 92 96 152))
  (send _w frame-rect '(112 92 192 152))
  (send _w move-to 208 152)
  (send _w line-to 246 92)
  (send _w line-to 284 152)
  (send _w pen-size 1)
  (send _w set-fore-color (symbolic-color Demo-Ink))
  (send _w move-to 16 190)
  (send _w draw-string "draw-string, in the window's font")
  (send _w text-box "text-box, centred" '(16 198 284 222) 1 ()))

(define Sample-Font "Arial")

(define (paint-sample _w)
  (paint-border _w)
  (send _w set-fore-color (symbolic-color Demo-Ink))
  (send _w text-box (string-append "This text is set in " Sample-Font
                                   ". Choose another face in the Font menu.")
        '(12 10 248 110) 0 ()))

(define-page drawing
  (:color Demo-Background)
  (caption heading :position '(24 16) :size '(-48 36) :title "Drawing and text"
           :font '("Arial" 22 bold) :color Demo-Background :color-fore Demo-Ink)
  (view shapes :position '(24 70) :size '(300 230) :color "#ffffff" :on-paint paint-shapes)
  (view sample :position '(-24 70) :size '(260 120) :color "#ffffff" :font '("Arial" 16)
        :handles-keys? t :on-paint paint-sample
        :on-font (lambda (_w _face)
                   (set! Sample-Font _face)
                   (send _w set-font (list _face 16 0))))
  (caption how :position '(-24 210) :size '(260 90) :font '("Arial" 12)
           :color Demo-Background :color-fore Demo-Ink
           :title "The shapes are drawn by the view's on-paint: color-rect, paint-oval, paint-round-rect, frame-oval, frame-rect, line-to, draw-string and text-box."))


; What a page does once its windows are there: the controls show the level
; chosen; the sample takes the key focus, so that the Font menu reaches it.
(define (page-shown _name)
  (cond ((eq? _name 'controls)
         (send (window (list 'levels Difficulty)) set-content t)
         (show-settings))
        ((eq? _name 'drawing) (set-focus (window 'sample)))))

(set! Page-Hooks (append Page-Hooks (list page-shown)))

; --- Pictures

(define-page pictures
  (:color Demo-Background)
  (caption heading :position '(24 16) :size '(-48 36) :title "Pictures"
           :font '("Arial" 22 bold) :color Demo-Background :color-fore Demo-Ink)
  (view landscape :position '(24 70) :size '(220 140) :color Demo-Background
        :on-paint (lambda (_w) (send _w draw-picture (getresource "PICT" 128) '(0 . 0) () ())))
  (caption landscape-note :position '(24 218) :size '(220 40) :font '("Arial" 12)
           :color Demo-Background :color-fore Demo-Ink
           :title "A 32-bit picture: landscape.png, packed by build-title.")
  (view logo :position '(300 70) :size '(96 96) :color Demo-Background
        :on-paint (lambda (_w) (send _w draw-picture (getresource "PICT" 129) '(0 . 0) () ())))
  (view logo-small :position '(410 70) :size '(48 48) :color Demo-Background
        :on-paint (lambda (_w) (send _w draw-picture-in-rect (getresource "PICT" 129) '(0 0 48 48))))
  (caption logo-note :position '(300 218) :size '(-324 40) :font '("Arial" 12)
           :color Demo-Background :color-fore Demo-Ink
           :title "An 8-bit picture with its colour table, at full size and scaled."))

; --- Scores

(define (scores-text)
  (let ((_scores (all-scores)))
    (if (null? _scores)
        "No scores yet: press Add a score."
        (apply lines (map (lambda (_s) (string-append (string _s) " points")) _scores)))))

(define (show-scores) (send (window '(score-panel score-list)) set-title (scores-text)))

; The next score: a simple sequence, so that a tour always shows the same.
(define (next-score) (+ 40 (modulo (* 37 (+ 1 (score-count))) 60)))

(define-page scores
  (:color Demo-Background)
  (caption heading :position '(24 16) :size '(-48 36) :title "Scores kept in a record database"
           :font '("Arial" 22 bold) :color Demo-Background :color-fore Demo-Ink)
  (view score-panel :position '(24 70) :size '(260 240) :color "#ffffff" :on-paint paint-border
        (caption score-list :position '(1 1) :size '(-2 -2) :title (scores-text) :font '("Arial" 14)
                 :color "#ffffff" :color-fore Demo-Ink :margin 9 :margin-top 7))
  (button add :position '(310 70) :size '(140 28) :title "Add a score"
          :action (lambda (_b) (add-score (next-score)) (show-scores)))
  (button clear :position '(310 110) :size '(140 28) :title "Clear"
          :action (lambda (_b) (clear-scores) (show-scores)))
  (caption where :position '(310 160) :size '(-334 100) :font '("Arial" 11)
           :color Demo-Background :color-fore Demo-Ink
           :title "Kept between runs in DEMOSCOR.DB, in your configuration folder: a record database of SCOR records, one a score."))
