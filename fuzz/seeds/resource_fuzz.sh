#!/usr/bin/env bash
# Writes the seed corpus of resource_fuzz into the directory given: small
# resource files built byte by byte (an empty file, one with resources of
# two types and names, one with a removed entry's unused slot, and one
# classic Macintosh fork whose byte 128 is not 0).
set -euo pipefail
out="$1"
mkdir -p "$out"

be32() { printf "\\x$(printf %02x $(( ($1 >> 24) & 255 )))\\x$(printf %02x $(( ($1 >> 16) & 255 )))\\x$(printf %02x $(( ($1 >> 8) & 255 )))\\x$(printf %02x $(( $1 & 255 )))"; }
be16() { printf "\\x$(printf %02x $(( ($1 >> 8) & 255 )))\\x$(printf %02x $(( $1 & 255 )))"; }
be24() { printf "\\x$(printf %02x $(( ($1 >> 16) & 255 )))\\x$(printf %02x $(( ($1 >> 8) & 255 )))\\x$(printf %02x $(( $1 & 255 )))"; }
zeros() { head -c "$1" /dev/zero; }

# header DATA_LENGTH MAP_LENGTH BYTE128
header() {
  local data_len=$1 map_len=$2 guard=$3
  be32 256; be32 $((256 + data_len)); be32 "$data_len"; be32 "$map_len"
  zeros 32
  printf '\x07Seed.RI'; zeros $((33 - 7))
  printf 'rsrcORVN'
  zeros 38
  printf "\\x$(printf %02x "$guard")"
  zeros 127
}
# map_start DATA_LENGTH MAP_LENGTH ATTRS NAME_LIST
map_start() {
  be32 256; be32 $((256 + $1)); be32 "$1"; be32 "$2"
  be32 0; be16 0; be16 "$3"; be16 28; be16 "$4"
}
entry() { be16 "$1"; be16 "$2"; printf "\\x$(printf %02x "$3")"; be24 "$4"; be32 0; }

{ header 0 30 0; map_start 0 30 0 30; be16 65535; } > "$out/empty"

# TEXT 128 "hello" = abc, TEXT 129 = q, PICT 1 = zz; name list at 82.
data() { be32 3; printf abc; be32 1; printf q; be32 2; printf zz; }
{
  header 18 88 0; data
  map_start 18 88 0 82; be16 1
  printf TEXT; be16 1; be16 18
  printf PICT; be16 0; be16 42
  entry 128 0 0 0; entry 129 65535 4 7; entry 1 65535 32 12
  printf '\x05hello'
} > "$out/three"

# The same after removing TEXT 128 without compacting: an unused slot.
{
  header 18 88 0; data
  map_start 18 88 96 82; be16 1
  printf TEXT; be16 0; be16 18
  printf PICT; be16 0; be16 42
  entry 129 65535 4 7; entry 129 65535 4 7; entry 1 65535 32 12
  printf '\x05hello'
} > "$out/removed"

{ header 0 30 66; map_start 0 30 0 30; be16 65535; } > "$out/macintosh"
