; Strings and characters.

; The text of any Value
(check (string 12) "12")
(check (string -3) "-3")
(check (string 2.0) "2.0")
(check (eq? (string 'abc) (symbol->string 'abc)) t)
(check (copy-string 'abc) "abc")
(check (string-length 12345) 5)

; Building and taking apart
(check (string-append) "")
(check (string-append "a" 1 'b) "a1b")
(check (string-append "x" 2.5 "" 'y) "x2.5y")
(check (substring "abcdef" -2 nil) "ef")
(check (substring "abcdef" 1 -1) "bcde")
(check (substring "abcdef" 2 1) "")
(check (substring "abc" 1 10) "bc")
(check (string-ref "abc" 1) 98)
(check (make-string 3) "   ")
(check (string-length (make-string 32000)) 32000)
(define Text (copy-string "abc"))
(string-set! Text 1 65)
(check Text "aAc")
(check (char 65) "A")
(check (ascii "Bc") 66)
(check (ascii "") 0)

; Case and character classes
(check (upper-string "abc") "ABC")
(check (lower-string 'ABC) "abc")
(check (upper-char 228) 196)
(check (lower-char 196) 228)
(check (lower-char 228) 228)
(check (upper-char 255) 255)
(check (alpha-char? 65) t)
(check (alpha-char? 215) nil)
(check (alpha-char? 32) nil)
(check (upper-string (string-append "caf" (char 233))) (string-append "CAF" (char 201)))

; Searching
(check (memstring "CD" "abcdef" t) "cdef")
(check (memstring "CD" "abcdef" nil) nil)
(check (memstring "abcdefg" "abc" t) nil)

; Comparison
(check (string=? 'abc "abc") t)
(check (string=? "abc" "Abc") nil)
(check (string/=? "abc" "Abc") t)
(check (string<? "abc" "ABD") t)
(check (string<? "Abc" "abc") t)
(check (string<? "abc" "ab") nil)
(check (string>? "abc" "ab") t)
(check (string<=? "abc" "abc") t)
(check (string>=? "b" (char 224)) t)
(check (string-nocase=? (string-append (char 201) "te") (string-append (char 233) "TE") nil) t)
(check (string-nocase=? "Ete" (string-append (char 201) "t" (char 233)) nil) nil)
(check (string-nocase=? "Ete" (string-append (char 201) "t" (char 233)) t) t)

; Numbers from text
(check (string->int "  -42  ") -42)
(check (string->int "12a") nil)
(check (string->int "99999999999") nil)
(check (string->int "-2147483648") -2147483648)
(check (string->real "3") 3)
(check (string->real "-1.25e2") -125.0)
(check (string->real "1.5x") nil)

; Symbols
(check (string->symbol "hello") 'hello)
(check (string? "") t)
(check (empty-string? "") t)
(check (empty-string? 'a) nil)
(check (char? 300) t)

; Native memory
(define Block (new-ptr 10))
(put-string "hello" Block)
(check (ptr->string Block) "hello")
(check (mref 1 Block) 5)
(put-string-text "abc" Block)
(check (text->string Block 3) "abc")
(check (handle->string (string->handle "bytes")) "bytes")
(check (get-handle-size (string->handle "bytes")) 5)
