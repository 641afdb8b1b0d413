#!/usr/bin/env bash
# Writes the seed corpus of event_script_fuzz into the directory given: the
# desktop demo's script and one line of every command.
set -euo pipefail
out="$1"
root="$(cd "$(dirname "$0")/../.." && pwd)"
mkdir -p "$out"
cp "$root/tests/backends/demo/desktop_demo.events" "$out/desktop_demo"
printf '%s\n' "wait 100" "move 10 20" "press right" "release right" "click 5 5 middle" \
  "double-click 7 7" "drag 0 0 30 20 3" "key ctrl+shift+alt+f15" "key keypad-enter" \
  "key-down shift" "key-up shift" "type Caf\xc3\xa9 \xe2\x82\xac" "frame a/b.png" "close" "quit" > "$out/every_command"
printf '# comment\r\n\r\nwait 2147483647\r\nkey f16\r\nmove 99999 0\r\n' > "$out/errors_crlf"
