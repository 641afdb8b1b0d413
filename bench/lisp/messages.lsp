; Message sending: a small hierarchy of accounts. Deposits and withdrawals
; are sends; the inherited month-end method sends `fee` to self, which each
; class answers in its own way; slots are read and written through self.
; About a million sends.
(define obj-account (new-class 'obj-account))
(obj-account
  (defslot balance :default 0)
  (defslot ops :default 0)
  (define (deposit _x) (set! ops (+ ops 1)) (set! balance (+ balance _x)))
  (define (withdraw _x)
    (set! ops (+ ops 1))
    (if (< balance _x) 0 (begin (set! balance (- balance _x)) _x)))
  (define (fee) 1)
  (define (month-end) (withdraw (fee)))
  (define (total) (+ balance ops)))

; Savings pay no fee and add a bonus unit to every deposit.
(define obj-savings (new-class 'obj-savings obj-account))
(obj-savings
  (define (fee) 0)
  (define (deposit _x) (set! ops (+ ops 1)) (set! balance (+ balance _x 1))))

(define obj-checking (new-class 'obj-checking obj-account))
(obj-checking
  (define (fee) 3))

(define A (make-instance obj-account))
(define S (make-instance obj-savings))
(define C (make-instance obj-checking))

(define (run _n)
  (let ((_i 0) (_paid 0))
    (while (< _i _n)
      (send A deposit 2)
      (send S deposit 3)
      (send C deposit 4)
      (set! _paid (+ _paid (send A withdraw 1) (send S withdraw 2) (send C withdraw 5)))
      (if (= (remainder _i 10) 0)
          (begin (send A month-end) (send S month-end) (send C month-end)))
      (set! _i (+ _i 1)))
    _paid))

(define Paid (run 150000))
(princ (+ Paid (send A total) (send S total) (send C total)))
