#!/usr/bin/env bash
# Usage: check-small-book.sh BOOK
# A book made from the build's images: under 1 MB, no symbol table or debug section in the
# launcher or the viewer, and the viewer program right behind the launcher.
set -euo pipefail
book=$1
status=0
size=$(stat -c %s "$book")
if ((size >= 1000000)); then
  echo "$book is $size bytes, not under 1 MB"
  status=1
fi
# Section names live in each program's section name table: a stripped program has none of these.
if grep -a -q -E '\.debug_(info|line|str|abbrev)|\.symtab' "$book"; then
  echo "$book carries debug sections or a symbol table"
  status=1
fi
# Two ELF images come first: the launcher, then the viewer.
if [[ $(grep -a -o -b $'\x7fELF\x02\x01\x01' "$book" | wc -l) -lt 2 ]]; then
  echo "$book does not hold the launcher and the viewer"
  status=1
fi
[[ $status -eq 0 ]] && echo "$book: $size bytes"
exit $status
