#!/usr/bin/env bash
# Writes the seed corpus of reader_fuzz into the directory given: one file
# per sample, its first byte the reader settings (see reader_fuzz.cpp).
set -euo pipefail
out="$1"
mkdir -p "$out"
n=0
seed() {  # seed SETTINGS-BYTE TEXT (printf escapes allowed in TEXT)
  n=$((n + 1))
  printf "$1$2" > "$out/seed-$n"
}
seed '\x00' '(define (square _x) (* _x _x))'
seed '\x01' 'abc def (a . b) (a | b) [a b) x.y e.x'
seed '\x00' '12 -5 +5 1.5 1. 2e3 -1.25e-2 8388607 -2147483648 12345678901 1a 1-2'
seed '\x04' '1,5 1.5 -3,25e2'
seed '\x00' '"a string with \\"quotes\\" and a \\\\ and\r\n lines" ""'
seed '\x00' '; a comment\r(a ; another\n b)'
seed "\\x01" "'quoted '(a 'b) :keyword _var _ (_x _x)"
seed '\x00' '#\\a #\\space #\\question-mark #\\( #\\Space #\\a1'
seed '\x02' '#\\\xe9 #\\a #\\tab'
seed '\x00' '#(a 2 "s" #(nested)) #()'
seed '\x00' '#{en "Yes" fr "Oui"} #{de "Ja"}'
seed '\x01' '&win 1 2 &(not win) 3 4 (&mac 5 6) &(and win (or mac color)) 7 &(xor a) 8'
seed '\x09' '&win 1 {foo} #{fr "x"}'
seed '\x01' 'a {(quote foo) 1 2} {bar} b'
seed '\x00' '(\x00 \x0f\x00 \x11\x03 \x08\x01\x00 \x0b\xff \x0c\x12\x34 \x0e\x00\x08)'
seed '\x01' '\x00\x0f\x05\x0b\x07\x03 \x0c\xff\xfe \x0e\x00\x09'
seed '\x00' '(a . b c) (. a) (a . ) (a }) }'
seed '\x10' '!\x04(a !b)'
seed '\x10' '~\x10(a ~ b)'
seed '\x10' 'q\x09(q q)'
seed '\x00' '(((((((((((((((((((((((((((((((((x)))))))))))))))))))))))))))))))))'
seed '\x00' '"unterminated'
seed '\x00' '#z #'
seed '\x09' '#{en . 5} {(quote . 5)} &(not . x) 1'
