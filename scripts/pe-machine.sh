#!/usr/bin/env bash
# Prints what a Windows DLL or program is built for, as the presets name it: i686 (PE32) or
# x86_64 (PE32+). For anything else says in one line what the file is not, and exits 1.
#   scripts/pe-machine.sh FILE
set -euo pipefail
file=$1
not() { echo "$file is not $*" >&2; exit 1; }

[ -f "$file" ] || not "a file"
[ "$(head -c 2 "$file" | tr -d '\0')" = MZ ] || not "a Windows DLL (no MZ header)"
# The PE header's offset sits at 0x3C; the machine follows its 4-byte signature.
pe=$(od -An -tu4 -j 60 -N 4 "$file" | tr -d ' ')
[ -n "$pe" ] && [ "$(od -An -c -j "$pe" -N 4 "$file" | tr -d ' ')" = 'PE\0\0' ] || not "a Windows DLL (no PE header)"
machine=$(od -An -tx2 -j $((pe + 4)) -N 2 "$file" | tr -d ' ')
case $machine in
  014c) echo i686 ;;
  8664) echo x86_64 ;;
  *) not "built for i686 or x86_64 (machine 0x$machine)" ;;
esac
