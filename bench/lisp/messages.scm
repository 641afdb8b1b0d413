; Message sending: a small hierarchy of accounts as closures that dispatch
; on the message. Deposits and withdrawals are sends; the inherited
; month-end method sends `fee` to self, which each kind answers in its own
; way; a derived kind delegates what it does not handle to its parent.
(define (send object message argument) (object object message argument))

(define (make-account)
  (let ((balance 0) (ops 0))
    (lambda (self message argument)
      (case message
        ((deposit) (set! ops (+ ops 1)) (set! balance (+ balance argument)) balance)
        ((withdraw)
         (set! ops (+ ops 1))
         (if (< balance argument) 0 (begin (set! balance (- balance argument)) argument)))
        ((fee) 1)
        ((month-end) (send self 'withdraw (send self 'fee 0)))
        ((total) (+ balance ops))
        (else (error "unknown message" message))))))

; Savings pay no fee and add a bonus unit to every deposit.
(define (make-savings)
  (let ((parent (make-account)))
    (lambda (self message argument)
      (case message
        ((fee) 0)
        ((deposit) (parent self 'deposit (+ argument 1)))
        (else (parent self message argument))))))

(define (make-checking)
  (let ((parent (make-account)))
    (lambda (self message argument)
      (case message
        ((fee) 3)
        (else (parent self message argument))))))

(define a (make-account))
(define s (make-savings))
(define c (make-checking))

(define (run n)
  (let loop ((i 0) (paid 0))
    (if (< i n)
        (begin
          (send a 'deposit 2)
          (send s 'deposit 3)
          (send c 'deposit 4)
          (let ((paid (+ paid (send a 'withdraw 1) (send s 'withdraw 2) (send c 'withdraw 5))))
            (if (= (remainder i 10) 0)
                (begin (send a 'month-end 0) (send s 'month-end 0) (send c 'month-end 0)))
            (loop (+ i 1) paid)))
        paid)))

(define paid (run 150000))
(display (+ paid (send a 'total 0) (send s 'total 0) (send c 'total 0)))
(newline)
