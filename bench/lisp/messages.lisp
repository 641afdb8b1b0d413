; Message sending: a small hierarchy of accounts with CLOS generic
; functions. Deposits and withdrawals are calls of generic functions; the
; inherited month-end method calls `fee` on the account, which each class
; answers in its own way; slots are read and written through accessors.
(defclass account ()
  ((balance :initform 0 :accessor balance)
   (ops :initform 0 :accessor ops)))

; Savings pay no fee and add a bonus unit to every deposit.
(defclass savings (account) ())
(defclass checking (account) ())

(defgeneric deposit (account amount))
(defmethod deposit ((a account) amount)
  (setf (ops a) (+ (ops a) 1))
  (setf (balance a) (+ (balance a) amount)))
(defmethod deposit ((a savings) amount)
  (setf (ops a) (+ (ops a) 1))
  (setf (balance a) (+ (balance a) amount 1)))

(defgeneric withdraw (account amount))
(defmethod withdraw ((a account) amount)
  (setf (ops a) (+ (ops a) 1))
  (if (< (balance a) amount)
      0
      (progn (setf (balance a) (- (balance a) amount)) amount)))

(defgeneric fee (account))
(defmethod fee ((a account)) 1)
(defmethod fee ((a savings)) 0)
(defmethod fee ((a checking)) 3)

(defgeneric month-end (account))
(defmethod month-end ((a account)) (withdraw a (fee a)))

(defgeneric total (account))
(defmethod total ((a account)) (+ (balance a) (ops a)))

(defvar *a* (make-instance 'account))
(defvar *s* (make-instance 'savings))
(defvar *c* (make-instance 'checking))

(defun run (n)
  (let ((paid 0))
    (dotimes (i n)
      (deposit *a* 2)
      (deposit *s* 3)
      (deposit *c* 4)
      (setf paid (+ paid (withdraw *a* 1) (withdraw *s* 2) (withdraw *c* 5)))
      (when (= (rem i 10) 0)
        (month-end *a*) (month-end *s*) (month-end *c*)))
    paid))

(format t "~a~%" (+ (run 150000) (total *a*) (total *s*) (total *c*)))
