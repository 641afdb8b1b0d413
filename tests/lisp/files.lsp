; Files and pathnames as titles use them: pathnames to paths and back,
; numbered temporary files, reading and writing, file streams, types,
; copying with a progress function, and loading source. The temporary
; directory (TMPDIR) is the test's own.

; --- Pathnames

(check (parse-pathname '("C:" "DIR" "FILE.TXT")) "C:\\DIR\\FILE.TXT")
(check (parse-pathname '("" "DIR")) "\\DIR")
(check (parse-pathname '("C:" "DIR" "")) "C:\\DIR")
(check (parse-pathname '("C:" "")) "C:\\")
(check (string-length (parse-pathname (list "C:" (make-string 252)))) 255)
(check (os->orvane "C:\\DIR\\FILE.TXT") '("C:" "DIR" "FILE.TXT"))
(check (make-pathname "C:\\DIR\\SUB\\FILE.TXT") '("C:" ("DIR" "SUB") "FILE.TXT"))
(check (pathname=? "c:\\dir\\x" '("C:" "DIR" "X")) t)
(check (pathname-inclusion "C:\\DIR" "C:\\DIRX") ())
(check (pathname-name appl-dir) "Appl")
(check (pathname=? (pathname-directory appl-dir) (list orvane-dir)) t)

; --- Temporary files: orvane1.tmp, then orvane2.tmp, hidden unless visible

(define First (orvane-file-create () "" "" () () ()))
(define Second (orvane-file-create () "" "" () t ()))
(check (pathname-name First) "orvane1.tmp")
(check (pathname-name Second) "orvane2.tmp")
(check (file-get-visible? Second) t)
(define Temp (pathname-directory First))
(check (pathname=? (list Temp "orvane2.tmp") Second) t)

; --- Reading and writing

(define F (file-open First 2))
(define Block (new-ptr 4))
(mset 1 72 Block 0)
(mset 1 105 Block 1)
(file-write-block F Block 2)
(check (file-get-pos F) 2)
(file-write-ch 33 F)
(check (file-length F) 3)
(check (file-eof? F) t)
(file-set-pos F 1)
(check (file-eof? F) ())
(check (file-read-ch F) 105)
(check (file-read-ch F) 33)
(check (file-read-ch F) -1)
(file-set-pos F 0)
(check (file-read-block F Block 4) 3)
(check (mref 1 Block 0) 72)
(check (file-read-only? F) ())
(file-close F)
(check (file-length First) 3)

; The printer writes through a file stream and the reader reads it back.
(define Forms (list Temp "Forms.lsp"))
(define F (file-open (orvane-file-create Forms "" "" () t ()) 2))
(displ '(define Loaded-Sum (+ 40 2)) (cons file-write-ch F))
(file-set-pos F 0)
(check (read (cons file-read-ch F)) '(define Loaded-Sum (+ 40 2)))
(file-close F)

; --- Types and creators

(define Resources (orvane-file-create (list Temp "Title.RI") "ORVN" "rsrc" t t ()))
(check (file-get-type Resources) "rsrc")
(check (file-get-creator Resources) "ORVN")
(file-set-type Resources "APPL")
(check (file-get-type Resources) "APPL")
(check (file-get-type First) "TEXT")
(check (file-set-type First "PICT") t)
(check (file-get-type First) "TEXT")
(check (file-length First) 3)
(check (file-get-type (orvane-file-create (list Temp "PHOTO.PIC") "" "" () t ())) "PICT")
(check (file-get-type (orvane-file-create (list Temp "CLIP.MOV") "" "" () t ())) "MooV")

; --- Quiet failures

(check (orvane-file-create Resources "ORVN" "rsrc" t t t) ())
(check (file-remove (list Temp "missing.txt") t) ())
(check (file-exists? (list Temp "missing.txt")) ())

; --- Copying: a progress function that throws leaves no copy behind

(define Copy (list Temp "Copy.lsp"))
(define Seen ())
(check (copy-file Forms Copy (lambda (_n) (set! Seen (cons _n Seen)))) t)
(check Seen (list (file-length Forms)))
(check (file-length Copy) (file-length Forms))
(file-remove Copy ())
(check (catch 'stop (copy-file Forms Copy (lambda (_n) (throw 'stop 'stopped)))) 'stopped)
(check (file-exists? Copy) ())

; --- Loading: definitions become available

(load Forms)
(check Loaded-Sum 42)

; --- Directories

(define Sub (list Temp "Sub"))
(check (create-dir Sub) t)
(check (dir-subdirs Temp) '("Sub"))
(check (file-rename Copy "Renamed.lsp") ())
(check (copy-file Forms (list Sub "a.lsp") ()) t)
(check (dir-files Sub "*.LSP") '("a.lsp"))
(check (remove-empty-dir Sub) ())
(check (file-remove (list Sub "A.LSP") ()) t)
(check (remove-empty-dir Sub) t)

; --- Errors: the file layer's codes reach Lisp with the path

(check-error (parse-pathname (list "C:" (make-string 253))) 2)
(check-error (parse-pathname 12) 2)
(check-error (parse-pathname 'Unbound-Directory-Name) 6)
(check-error (file-open (list Temp "no-such-file.txt") 0) 31)
(check-error (orvane-file-create Forms "" "" t t ()) 33)
(check (orvane-file-create Forms "" "" t t t) ())
(check-error (fsread 1 2 3) 47)
(check-error (online) 47)

; Leave the directory as it was found.
(for-each (lambda (_name) (file-remove (list Temp _name) t)) (dir-files Temp ()))
(check (dir-files Temp ()) ())

