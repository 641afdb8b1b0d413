; The scores page's memory: a record database in the user's configuration
; folder, one "SCOR" record a score, kept between runs.

(define Scores-Type "SCOR")
(define Scores-Database ())

(define (scores-path) (string-append (orvane->os (find-preference-folder)) "\\DEMOSCOR.DB"))

(define (scores-database)
  (if (null? Scores-Database)
      (begin
        (if (not (file-exists? (scores-path)))
            (create-database-subr (scores-path) "ORVN" "DATA"))
        (set! Scores-Database (open-database (scores-path) 2))))
  Scores-Database)

(define (score-count) (count-records Scores-Type (scores-database)))

; The scores kept, newest first.
(define (all-scores)
  (let ((_db (scores-database)) (_i 0) (_scores ()))
    (while (< _i (score-count))
      (let ((_id (get-record-id (get-indexed-record Scores-Type _i _db ()))))
        (set! _scores (cons (get-record-number Scores-Type _id _db) _scores)))
      (set! _i (+ _i 1)))
    _scores))

(define (add-score _points)
  (let ((_db (scores-database)))
    (put-record-number _points Scores-Type (unique-record-id Scores-Type _db) _db)))

(define (clear-scores)
  (let ((_db (scores-database)))
    (while (> (score-count) 0)
      (remove-record (get-indexed-record Scores-Type 0 _db ())))
    (update-database _db)))

(define (close-scores)
  (if Scores-Database (close-database Scores-Database ()))
  (set! Scores-Database ())
  t)

(set! Quit-Hooks (append Quit-Hooks (list close-scores)))
